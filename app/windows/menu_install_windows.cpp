#include "app/menu_install.h"

// The menu is part of the program's resources (korvanth.rc).
void InstallMenuResource() {}

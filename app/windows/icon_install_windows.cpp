#include "app/icon_install.h"

// The icon is part of the program's resources (korvanth.rc).
void InstallIconResource() {}

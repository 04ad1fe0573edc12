#include "app/menu_install.h"

namespace korvanth {

// The menu is part of the program's resources (korvanth.rc).
void InstallMenuResource() {}

}  // namespace korvanth

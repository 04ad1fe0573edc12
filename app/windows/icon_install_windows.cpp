// On Windows the icon is compiled into the program's resources, so installing does nothing.
#include "app/icon_install.h"

namespace korvanth {

// The icon is part of the program's resources (korvanth.rc).
void InstallIconResource() {}

}  // namespace korvanth

#include "app/icon_install.h"

namespace korvanth {

// The icon is part of the program's resources (korvanth.rc).
void InstallIconResource() {}

}  // namespace korvanth

#pragma once

namespace korvanth {

// Makes the program's icon (IDI_KORVANTH) available to LoadIconA. On Windows the icon is
// compiled into the program and this does nothing; elsewhere it registers the desktop
// theme's icon of the installed program, with the copy built into the program as fallback.
void InstallIconResource();

}  // namespace korvanth

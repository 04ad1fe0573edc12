#pragma once

#include "platform/win32_api.h"

namespace korvanth {

// The main window's menu bar, built from MainMenuLines(); the window that gets it owns it.
HMENU CreateMainMenu(HINSTANCE instance);

}  // namespace korvanth

#pragma once

#include <span>

#include "app/main_menu.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// A menu bar built from `lines` (see MainMenuLines); the window that gets it owns it.
HMENU CreateMainMenu(std::span<const MenuLine> lines);

// Puts the check and radio marks of the state's choices on the window's menu.
void PutMenuMarks(const WindowState& state, HWND window);

// Replaces the window's menu with one built afresh from the state (its language, ...),
// marks included, and destroys the old one.
void RebuildMainMenu(const WindowState& state, HWND window);

}  // namespace korvanth

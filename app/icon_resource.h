#pragma once

// The program's icon. The main window's class loads it from the program's own resources
// under this number (korvanth.rc on Windows, InstallIconResource elsewhere).
#define IDI_KORVANTH 32512

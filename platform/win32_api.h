// The one header through which Korvanth reaches the Win32 API: the real windows.h on
// Windows, the project's own subset over Qt Widgets elsewhere.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#else
#include "platform/linux/win32_subset.h"
#endif

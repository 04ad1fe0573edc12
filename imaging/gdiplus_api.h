// The one header through which Korvanth reaches GDI+: the real flat API on Windows,
// the project's own subset elsewhere. Code above this layer has no per-host #ifdef.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#define WIDE_TEXT(s) L##s
#else
#include "imaging/portable/gdiplus_flat.h"
#define WIDE_TEXT(s) u##s
#endif

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

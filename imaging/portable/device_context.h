// Off Windows: what an HDC is. The window layer hands the imaging layer a device
// context that points at the window's back buffer; GdipCreateFromHDC draws into it.
#pragma once

#include <QImage>

#include "imaging/portable/win_base.h"

struct HDC__ {
  // Format_RGB32 (0xFFRRGGBB per pixel), the size of the client area.
  QImage* surface = nullptr;
};

// Off Windows: what an HDC is. The window layer owns its back buffer through a device
// context; GdipCreateFromHDC draws into it.
#pragma once

#include "imaging/linux/pixel_image.h"
#include "api/linux/win_base.h"

struct HDC__ {
  // Rgb32 (0xFFRRGGBB per pixel), the size of the client area.
  korvanth::imaging::PixelImage surface;
};

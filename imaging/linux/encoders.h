// Encoders into memory; the caller writes the bytes out in one piece. PNG, BMP, GIF and
// TIFF come from the host-neutral writers, JPEG through libjpeg.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/encode/pixel_rows.h"
#include "imaging/linux/gp_objects.h"

namespace korvanth::imaging {

// The bitmap's rows as the writers read them; none for a bitmap without pixels.
std::optional<imaging::encode::PixelRows> RowsOf(const LinuxBitmap& bitmap);

// Baseline JPEG at this quality, 4:2:0, with the resolution in the JFIF header (dots an
// inch); alpha is dropped.
bool WriteJpeg(const imaging::encode::PixelRows& rows, int quality, std::vector<std::uint8_t>& out);

}  // namespace korvanth::imaging

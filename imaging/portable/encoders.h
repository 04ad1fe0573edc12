// Encoders into memory; the caller writes the bytes out in one piece. BMP, GIF and TIFF
// come from the host-neutral writers, PNG and JPEG from Qt's.
#pragma once

#include <QByteArray>

#include <optional>

#include "imaging/encode/pixel_rows.h"
#include "imaging/portable/gp_objects.h"

namespace korvanth::imaging {

// The bitmap's rows as the host-neutral writers read them; none for an unexpected layout.
std::optional<encode::PixelRows> RowsOf(const PortableBitmap& bitmap);

// PNG and JPEG through Qt's writers; the bitmap's resolution is recorded in its pixels.
bool EncodeWithQt(PortableBitmap& bitmap, const char* format, int quality, QByteArray& out);

}  // namespace korvanth::imaging

// Encoders into memory; the caller writes the bytes out in one piece.
#pragma once

#include <QByteArray>

#include "imaging/portable/gp_objects.h"

namespace korvanth::imaging {

// Dots per metre for a resolution in dots per inch, as the file formats store it.
int DotsPerMetre(float dpi);

bool EncodeBmp(const PortableBitmap& bitmap, QByteArray& out);
bool EncodeGif(const PortableBitmap& bitmap, QByteArray& out);
bool EncodeTiff(const PortableBitmap& bitmap, QByteArray& out);
// PNG and JPEG through Qt's writers; the bitmap's resolution is recorded in its pixels.
bool EncodeWithQt(PortableBitmap& bitmap, const char* format, int quality, QByteArray& out);

}  // namespace korvanth::imaging

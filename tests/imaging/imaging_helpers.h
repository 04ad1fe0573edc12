// Helpers for the imaging tests: bitmaps filled from a QImage and read back through the
// public lock calls, encoder look-up, and hand-built file bytes.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "imaging/handles.h"
#include "support/pixel_difference.h"

// A bitmap of `format` whose pixels are `image`'s (converted through a 32-bit ARGB lock).
korvanth::ImageHandle BitmapFrom(const QImage& image, PixelFormat format = PixelFormat32bppARGB);

// The bitmap's pixels as 0xAARRGGBB, read through a 32-bit ARGB lock; null on failure.
QImage PixelsOf(korvanth::ImageHandle& bitmap);

// Source-over onto an opaque pixel, as the drawing must give it:
// out = (s*a + d*(255-a) + 127) / 255 per channel.
QRgb OverOpaque(QRgb src, QRgb dst);

// A solid ARGB picture.
QImage SolidImage(int width, int height, QRgb argb);

// The class identifier of the encoder with this MIME type (fails the test when absent).
CLSID EncoderFor(const char16_t* mimeType);

// Saves through GDI+ and returns the status.
GpStatus SaveAs(korvanth::ImageHandle& bitmap, const std::string& path, const char16_t* mimeType);

// Loads through GDI+.
korvanth::ImageHandle Load(const std::string& path);

// PNG file bytes with a chunk inserted right after IHDR (CRC computed here).
std::string WithChunkAfterHeader(const std::string& png, const std::string& type,
                                 const std::string& data);
std::string PngChunk(const std::string& type, const std::string& data);
std::string BigEndian32(quint32 value);

// Little-endian fields for hand-built BMP files.
std::string Le16(quint16 value);
std::string Le32(quint32 value);

// A one-frame GIF written with giflib directly (Qt reads GIF but cannot write it).
// `palette` holds 0xRRGGBB values; `transparent` < 0 means none.
std::string GifBytes(int width, int height, const std::vector<quint32>& palette,
                     const std::vector<unsigned char>& indices, int transparent);

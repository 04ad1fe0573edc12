// Imaging test helpers: bitmaps to and from QImage, encoders, saves, hand-built PNG/BMP/GIF bytes.
#include "imaging/imaging_helpers.h"

#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "support/test_files.h"

using namespace korvanth;

ImageHandle BitmapFrom(const QImage& image, PixelFormat format) {
  ImageHandle bitmap = ImageHandle::FromScan0(image.width(), image.height(), format);
  if (bitmap.empty()) return bitmap;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  Rect rect{0, 0, image.width(), image.height()};
  BitmapData data{};
  if (GdipBitmapLockBits(bitmap.bitmap(), &rect, ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
      Ok) {
    ADD_FAILURE() << "lock for filling failed";
    return bitmap;
  }
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(static_cast<uchar*>(data.Scan0) + y * data.Stride, argb.constScanLine(y),
                static_cast<size_t>(image.width()) * 4);
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
  return bitmap;
}

QImage PixelsOf(ImageHandle& bitmap) {
  const UINT width = bitmap.Width();
  const UINT height = bitmap.Height();
  if (width == 0 || height == 0) return QImage();
  Rect rect{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
  BitmapData data{};
  if (GdipBitmapLockBits(bitmap.bitmap(), &rect, ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      Ok)
    return QImage();
  QImage out(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y)
    std::memcpy(out.scanLine(y), static_cast<const uchar*>(data.Scan0) + y * data.Stride,
                static_cast<size_t>(width) * 4);
  GdipBitmapUnlockBits(bitmap.bitmap(), &data);
  return out;
}

QRgb OverOpaque(QRgb src, QRgb dst) {
  const int a = qAlpha(src);
  auto mix = [a](int s, int d) { return (s * a + d * (255 - a) + 127) / 255; };
  return qRgba(mix(qRed(src), qRed(dst)), mix(qGreen(src), qGreen(dst)),
               mix(qBlue(src), qBlue(dst)), 255);
}

QImage SolidImage(int width, int height, QRgb argb) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(argb);
  return image;
}

CLSID EncoderFor(const char16_t* mimeType) {
  UINT count = 0, size = 0;
  EXPECT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  EXPECT_EQ(GdipGetImageEncoders(count, size, codecs), Ok);
  for (UINT i = 0; i < count; ++i)
    if (std::u16string_view(codecs[i].MimeType) == mimeType) return codecs[i].Clsid;
  ADD_FAILURE() << "no encoder for the MIME type";
  return CLSID{};
}

GpStatus SaveAs(ImageHandle& bitmap, const std::string& path, const char16_t* mimeType) {
  const CLSID clsid = EncoderFor(mimeType);
  return GdipSaveImageToFile(bitmap.image(), Wide(path).c_str(), &clsid, nullptr);
}

ImageHandle Load(const std::string& path) { return ImageHandle::FromFile(Wide(path).c_str()); }

namespace {
quint32 Crc32(const std::string& bytes) {
  quint32 crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}
}  // namespace

std::string BigEndian32(quint32 value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(value >> (24 - 8 * i));
  return out;
}

std::string PngChunk(const std::string& type, const std::string& data) {
  return BigEndian32(static_cast<quint32>(data.size())) + type + data +
         BigEndian32(Crc32(type + data));
}

std::string WithChunkAfterHeader(const std::string& png, const std::string& type,
                                 const std::string& data) {
  const std::size_t afterHeader = 8 + 4 + 4 + 13 + 4;  // signature, IHDR chunk
  return png.substr(0, afterHeader) + PngChunk(type, data) + png.substr(afterHeader);
}

std::string Le16(quint16 value) {
  return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(quint32 value) {
  return Le16(static_cast<quint16>(value)) + Le16(static_cast<quint16>(value >> 16));
}

namespace {
int AppendGif(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  return length;
}
}  // namespace

std::string GifBytes(int width, int height, const std::vector<quint32>& palette,
                     const std::vector<unsigned char>& indices, int transparent) {
  std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.size(); ++i)
    colours[i] = GifColorType{static_cast<GifByteType>(palette[i] >> 16),
                              static_cast<GifByteType>(palette[i] >> 8),
                              static_cast<GifByteType>(palette[i])};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendGif, &error);
  EGifSetGifVersion(gif, true);
  EXPECT_EQ(EGifPutScreenDesc(gif, width, height, 8, 0, map), GIF_OK);
  if (transparent >= 0) {
    GraphicsControlBlock control{};
    control.TransparentColor = transparent;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
  }
  EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), GIF_OK);
  std::vector<GifByteType> row(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) row[static_cast<size_t>(x)] = indices[y * width + x];
    EXPECT_EQ(EGifPutLine(gif, row.data(), width), GIF_OK);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

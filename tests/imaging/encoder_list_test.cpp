// The encoder list: five encoders in order with their identifiers, buffer checks, MIME lookups.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "imaging/encoder_lookup.h"
#include "imaging/handles.h"

namespace {

GUID Guid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::uint64_t tail) {
  GUID g{d1, d2, d3, {}};
  for (int i = 0; i < 8; ++i) g.Data4[i] = static_cast<std::uint8_t>(tail >> (56 - 8 * i));
  return g;
}

struct Expected {
  std::uint32_t clsid;
  std::uint32_t format;
  std::u16string_view name, description, extensions, mime;
};

TEST(ImageEncoders, ListsTheFiveEncodersInOrderWithTheirIdentifiers) {
  UINT count = 0, size = 0;
  ASSERT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);
  ASSERT_EQ(count, 5u);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  ASSERT_EQ(GdipGetImageEncoders(count, size, codecs), Ok);

  const Expected expected[] = {
      {0x557CF400, 0xB96B3CAB, u"Built-in BMP Codec", u"BMP", u"*.BMP;*.DIB;*.RLE", u"image/bmp"},
      {0x557CF401, 0xB96B3CAE, u"Built-in JPEG Codec", u"JPEG", u"*.JPG;*.JPEG;*.JPE;*.JFIF",
       u"image/jpeg"},
      {0x557CF402, 0xB96B3CB0, u"Built-in GIF Codec", u"GIF", u"*.GIF", u"image/gif"},
      {0x557CF405, 0xB96B3CB1, u"Built-in TIFF Codec", u"TIFF", u"*.TIF;*.TIFF", u"image/tiff"},
      {0x557CF406, 0xB96B3CAF, u"Built-in PNG Codec", u"PNG", u"*.PNG", u"image/png"},
  };
  const unsigned char* stringsStart = buffer.data() + 5 * sizeof(ImageCodecInfo);
  const unsigned char* end = buffer.data() + buffer.size();
  for (int i = 0; i < 5; ++i) {
    const ImageCodecInfo& codec = codecs[i];
    EXPECT_TRUE(codec.Clsid == Guid(expected[i].clsid, 0x1A04, 0x11D3, 0x9A730000F81EF32Eull));
    EXPECT_TRUE(codec.FormatID == Guid(expected[i].format, 0x0728, 0x11D3, 0x9D7B0000F81EF32Eull));
    EXPECT_EQ(std::u16string_view(codec.CodecName), expected[i].name);
    EXPECT_EQ(std::u16string_view(codec.FormatDescription), expected[i].description);
    EXPECT_EQ(std::u16string_view(codec.FilenameExtension), expected[i].extensions);
    EXPECT_EQ(std::u16string_view(codec.MimeType), expected[i].mime);
    // Every string lies in the caller's buffer, after the records.
    for (const WCHAR* text :
         {codec.CodecName, codec.FormatDescription, codec.FilenameExtension, codec.MimeType}) {
      const auto* p = reinterpret_cast<const unsigned char*>(text);
      EXPECT_GE(p, stringsStart);
      EXPECT_LE(p + (std::char_traits<char16_t>::length(text) + 1) * 2, end);
    }
  }
  // The size is exactly the records plus the strings.
  std::size_t strings = 0;
  for (const Expected& e : expected)
    strings += (e.name.size() + e.description.size() + e.extensions.size() + e.mime.size() + 4) * 2;
  EXPECT_EQ(size, 5 * sizeof(ImageCodecInfo) + strings);
}

TEST(ImageEncoders, RefusesMismatchedBuffers) {
  UINT count = 0, size = 0;
  ASSERT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);
  std::vector<unsigned char> buffer(size + 64, 0xEE);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  EXPECT_EQ(GdipGetImageEncoders(count, size - 1, codecs), GenericError);
  EXPECT_EQ(GdipGetImageEncoders(count - 1, size, codecs), GenericError);
  EXPECT_EQ(GdipGetImageEncoders(count, size, nullptr), InvalidParameter);
  EXPECT_EQ(GdipGetImageEncodersSize(nullptr, &size), InvalidParameter);
  EXPECT_EQ(GdipGetImageEncodersSize(&count, nullptr), InvalidParameter);
  for (unsigned char byte : buffer) ASSERT_EQ(byte, 0xEE);  // refused calls write nothing
  ASSERT_EQ(GdipGetImageEncoders(count, size, codecs), Ok);
  for (std::size_t i = size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xEE);
}

TEST(ImageEncoders, MimeTypesMatchExactly) {
  CLSID png{};
  EXPECT_EQ(korvanth::FindEncoderByMimeType(WIDE_TEXT("image/png"), &png), 4);
  EXPECT_TRUE(png == Guid(0x557CF406, 0x1A04, 0x11D3, 0x9A730000F81EF32Eull));
  CLSID untouched{};
  untouched.Data1 = 0x12345678;
  EXPECT_EQ(korvanth::FindEncoderByMimeType(WIDE_TEXT("image/PNG"), &untouched), -1);
  EXPECT_EQ(untouched.Data1, 0x12345678u);
  EXPECT_EQ(korvanth::FindEncoderByMimeType(WIDE_TEXT("image/webp"), &untouched), -1);
}

}  // namespace

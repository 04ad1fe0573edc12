// The pixels of a bitmap or a drawing surface: rows of one of the three stored layouts,
// top row first, each row `stride` bytes from the next. The rows are either owned (freed
// with the image) or borrowed from a caller that keeps them alive for as long as the image.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace korvanth::imaging {

// Byte layouts of a row: Argb32 is B,G,R,A (not premultiplied); Rgb32 is B,G,R,0xFF;
// Bgr24 is B,G,R.
enum class Layout { Argb32, Rgb32, Bgr24 };

int BytesPerPixel(Layout layout);

class PixelImage {
 public:
  PixelImage() = default;
  PixelImage(PixelImage&&) noexcept = default;
  PixelImage& operator=(PixelImage&&) noexcept = default;
  PixelImage(const PixelImage&) = delete;
  PixelImage& operator=(const PixelImage&) = delete;

  // Zeroed rows (padding included) with a stride rounded up to 4 bytes; a null image when
  // a side is not positive, the pixels pass the picture limit or memory cannot be had.
  static PixelImage Create(std::int64_t width, std::int64_t height, Layout layout);
  // The caller's rows used in place; a null image when the sizes do not describe rows
  // that hold a whole row each.
  static PixelImage Borrow(std::uint8_t* bits, std::int64_t width, std::int64_t height,
                           std::int64_t stride, Layout layout);
  // An owned copy of the pixels (null when memory cannot be had).
  PixelImage Copy() const;

  bool isNull() const { return bits_ == nullptr; }
  std::int64_t width() const { return width_; }
  std::int64_t height() const { return height_; }
  std::int64_t stride() const { return stride_; }
  Layout layout() const { return layout_; }
  int bytesPerPixel() const { return BytesPerPixel(layout_); }
  std::uint8_t* bits() { return bits_; }
  const std::uint8_t* bits() const { return bits_; }
  std::uint8_t* row(std::int64_t y) { return bits_ + y * stride_; }
  const std::uint8_t* row(std::int64_t y) const { return bits_ + y * stride_; }

 private:
  struct FreeBytes {
    void operator()(std::uint8_t* bytes) const { std::free(bytes); }
  };
  std::unique_ptr<std::uint8_t, FreeBytes> owned_;
  std::uint8_t* bits_ = nullptr;
  std::int64_t width_ = 0;
  std::int64_t height_ = 0;
  std::int64_t stride_ = 0;
  Layout layout_ = Layout::Argb32;
};

// True when width x height pixels of bytesPerPixel fit the picture limit (both sides > 0).
bool FitsPixelLimit(std::int64_t width, std::int64_t height, int bytesPerPixel);

}  // namespace korvanth::imaging

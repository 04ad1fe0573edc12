// Exact row loops for non-premultiplied ARGB: source-over, layout conversion and fills.
#include "imaging/linux/compositing.h"

#include <algorithm>
#include <cstring>

#include "imaging/linux/compositing_simd.h"

namespace korvanth::imaging {

namespace {

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// out = (s*a + d*(255-a) + 127) / 255 for an opaque destination channel.
inline std::uint32_t MixOpaque(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
  return (s * a + d * (255 - a) + 127) / 255;
}

inline std::uint32_t BlendOntoOpaque(std::uint32_t dst, std::uint32_t src) {
  const std::uint32_t a = src >> 24;
  const std::uint32_t r = MixOpaque((src >> 16) & 0xFF, (dst >> 16) & 0xFF, a);
  const std::uint32_t g = MixOpaque((src >> 8) & 0xFF, (dst >> 8) & 0xFF, a);
  const std::uint32_t b = MixOpaque(src & 0xFF, dst & 0xFF, a);
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

inline void BlendIntoBgr24(std::uint8_t* d, std::uint32_t src) {
  const std::uint32_t a = src >> 24;
  d[0] = static_cast<std::uint8_t>(MixOpaque(src & 0xFF, d[0], a));
  d[1] = static_cast<std::uint8_t>(MixOpaque((src >> 8) & 0xFF, d[1], a));
  d[2] = static_cast<std::uint8_t>(MixOpaque((src >> 16) & 0xFF, d[2], a));
}

inline void StoreBgr24(std::uint8_t* d, std::uint32_t v) {
  d[0] = static_cast<std::uint8_t>(v);
  d[1] = static_cast<std::uint8_t>(v >> 8);
  d[2] = static_cast<std::uint8_t>(v >> 16);
}

inline std::uint32_t LoadPixel(Layout layout, const std::uint8_t* p) {
  switch (layout) {
    case Layout::Argb32:
      return Load32(p);
    case Layout::Rgb32:
      return Load32(p) | 0xFF000000u;
    case Layout::Bgr24:
      break;
  }
  return 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

// Four 32-bit pixels (B,G,R,x each) packed into three words of B,G,R bytes.
inline void PackFour(std::uint8_t* dst, const std::uint8_t* src) {
  const std::uint32_t p0 = Load32(src), p1 = Load32(src + 4), p2 = Load32(src + 8),
                      p3 = Load32(src + 12);
  Store32(dst, (p0 & 0xFFFFFFu) | (p1 << 24));
  Store32(dst + 4, ((p1 >> 8) & 0xFFFFu) | (p2 << 16));
  Store32(dst + 8, ((p2 >> 16) & 0xFFu) | (p3 << 8));
}

// Three words of B,G,R bytes unpacked into four opaque 32-bit pixels.
inline void UnpackFour(std::uint8_t* dst, const std::uint8_t* src) {
  const std::uint32_t w0 = Load32(src), w1 = Load32(src + 4), w2 = Load32(src + 8);
  Store32(dst, w0 | 0xFF000000u);
  Store32(dst + 4, (w0 >> 24) | (w1 << 8) | 0xFF000000u);
  Store32(dst + 8, (w1 >> 16) | (w2 << 16) | 0xFF000000u);
  Store32(dst + 12, (w2 >> 8) | 0xFF000000u);
}

void PackRow(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count) {
  std::int64_t i = PackChunks(dst, src, count, false);
  src += 4 * i;
  dst += 3 * i;
  for (; i + 4 <= count; i += 4, src += 16, dst += 12) PackFour(dst, src);
  for (; i < count; ++i, src += 4, dst += 3) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
}

// Opaque source rows: a straight copy or layout conversion.
void CopyOpaqueRow(Layout dstLayout, std::uint8_t* dst, Layout srcLayout, const std::uint8_t* src,
                   std::int64_t count) {
  if (srcLayout == Layout::Bgr24) {
    if (dstLayout == Layout::Bgr24) {
      std::memcpy(dst, src, static_cast<std::size_t>(count) * 3);
      return;
    }
    std::int64_t i = UnpackChunks(dst, src, count);
    src += 3 * i;
    dst += 4 * i;
    for (; i + 4 <= count; i += 4, src += 12, dst += 16) UnpackFour(dst, src);
    for (; i < count; ++i, src += 3, dst += 4) {
      const std::uint32_t v =
          0xFF000000u | (std::uint32_t{src[2]} << 16) | (std::uint32_t{src[1]} << 8) | src[0];
      Store32(dst, v);
    }
    return;
  }
  // 32-bit opaque source.
  if (dstLayout == Layout::Bgr24) {
    PackRow(dst, src, count);
    return;
  }
  // RGB32 pixels carry 0xFF in their top byte already: a plain copy.
  if (srcLayout == Layout::Rgb32 && dstLayout == Layout::Rgb32) {
    std::memcpy(dst, src, static_cast<std::size_t>(count) * 4);
    return;
  }
  for (std::int64_t i = 0; i < count; ++i, src += 4, dst += 4)
    Store32(dst, Load32(src) | 0xFF000000u);
}

// The alpha bytes of a run of 32-bit pixels ANDed together: 255 when all are opaque.
inline std::uint32_t CommonAlpha(const std::uint8_t* src, std::int64_t count) {
  // Four independent chains, so the loads do not wait on one another.
  std::uint32_t all[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  std::int64_t i = 0;
  for (; i + 4 <= count; i += 4)
    for (int k = 0; k < 4; ++k) all[k] &= Load32(src + 4 * (i + k));
  for (; i < count; ++i) all[0] &= Load32(src + 4 * i);
  return (all[0] & all[1] & all[2] & all[3]) >> 24;
}

// True when no pixel of the run needs arithmetic: each source pixel is opaque or fully
// transparent, or lands on a fully transparent destination pixel.
inline bool SelectOnly(const std::uint8_t* dst, const std::uint8_t* src, std::int64_t count) {
  std::uint32_t mixed = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    const std::uint32_t sa = Load32(src + 4 * i) >> 24;
    const std::uint32_t da = Load32(dst + 4 * i) >> 24;
    mixed |= static_cast<std::uint32_t>(sa != 0 && sa != 255 && da != 0);
  }
  return mixed == 0;
}

}  // namespace

std::optional<Layout> LayoutOf(Gdiplus::PixelFormat format) {
  switch (format) {
    case Gdiplus::PixelFormat32bppARGB:
      return Layout::Argb32;
    case Gdiplus::PixelFormat32bppRGB:
      return Layout::Rgb32;
    case Gdiplus::PixelFormat24bppRGB:
      return Layout::Bgr24;
    default:
      return std::nullopt;
  }
}

std::uint32_t BlendArgb(std::uint32_t dst, std::uint32_t src) {
  const std::uint32_t sa = src >> 24;
  if (sa == 0) return dst;
  if (sa == 255) return src;
  const std::uint32_t da = dst >> 24;
  if (da == 0) return src;
  if (da == 255) return BlendOntoOpaque(dst, src);
  // Both translucent: weights scaled by 255*255, rounded to nearest.
  const std::uint32_t ws = sa * 255;
  const std::uint32_t wd = da * (255 - sa);
  const std::uint32_t sum = ws + wd;
  const std::uint32_t half = sum / 2;
  const std::uint32_t a = (sum + 127) / 255;
  const std::uint32_t r = (((src >> 16) & 0xFF) * ws + ((dst >> 16) & 0xFF) * wd + half) / sum;
  const std::uint32_t g = (((src >> 8) & 0xFF) * ws + ((dst >> 8) & 0xFF) * wd + half) / sum;
  const std::uint32_t b = ((src & 0xFF) * ws + (dst & 0xFF) * wd + half) / sum;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

namespace {

// Source-over of ARGB source pixels that are not known to be opaque.
void BlendArgbRow(Layout dstLayout, std::uint8_t* dst, const std::uint8_t* src, std::int64_t count);

}  // namespace

void BlendRow(Layout dstLayout, std::uint8_t* dst, Layout srcLayout, const std::uint8_t* src,
              std::int64_t count) {
  if (count <= 0) return;
  if (srcLayout == Layout::Argb32 && dstLayout == Layout::Argb32) {
    // Runs that need no arithmetic (building sheets: every pixel lands on a transparent one).
    const std::int64_t done = SelectChunks(dst, src, count);
    dst += 4 * done;
    src += 4 * done;
    count -= done;
    if (count == 0) return;
  }
  if (srcLayout != Layout::Argb32) {
    CopyOpaqueRow(dstLayout, dst, srcLayout, src, count);
    return;
  }
  if (dstLayout == Layout::Bgr24) {
    BlendArgbRow(dstLayout, dst, src, count);
    return;
  }
  // In runs short enough to stay in the nearest cache between the test for opaque pixels
  // and the copy, so the source is fetched from memory once.
  constexpr std::int64_t kRun = 256;
  for (std::int64_t at = 0; at < count; at += kRun) {
    const std::int64_t run = std::min(kRun, count - at);
    if (CommonAlpha(src + 4 * at, run) == 255)
      CopyOpaqueRow(dstLayout, dst + 4 * at, Layout::Rgb32, src + 4 * at, run);
    else
      BlendArgbRow(dstLayout, dst + 4 * at, src + 4 * at, run);
  }
}

namespace {

void BlendArgbRow(Layout dstLayout, std::uint8_t* dst, const std::uint8_t* src,
                  std::int64_t count) {
  switch (dstLayout) {
    case Layout::Argb32:
      if (SelectOnly(dst, src, count)) {
        // Every result is the source pixel or the destination pixel as it was.
        for (std::int64_t i = 0; i < count; ++i, src += 4, dst += 4) {
          const std::uint32_t s = Load32(src);
          Store32(dst, (s >> 24) != 0 ? s : Load32(dst));
        }
        return;
      }
      for (std::int64_t i = 0; i < count; ++i, src += 4, dst += 4) {
        const std::uint32_t s = Load32(src);
        const std::uint32_t sa = s >> 24;
        if (sa == 255) {
          Store32(dst, s);
        } else if (sa != 0) {
          Store32(dst, BlendArgb(Load32(dst), s));
        }
      }
      return;
    case Layout::Rgb32:
      for (std::int64_t i = 0; i < count; ++i, src += 4, dst += 4) {
        const std::uint32_t s = Load32(src);
        const std::uint32_t sa = s >> 24;
        if (sa == 255) {
          Store32(dst, s);
        } else if (sa != 0) {
          Store32(dst, BlendOntoOpaque(Load32(dst), s));
        }
      }
      return;
    case Layout::Bgr24: {
      // Whole 16-pixel chunks go through the vector path; the rest pixel by pixel.
      std::int64_t i = 0;
      while (i < count) {
        const std::int64_t packed = PackChunks(dst + 3 * i, src + 4 * i, count - i, true);
        i += packed;
        const std::int64_t end = std::min(count, i + 16);
        for (; i < end; ++i) {
          const std::uint8_t* s8 = src + 4 * i;
          std::uint8_t* d8 = dst + 3 * i;
          const std::uint32_t s = Load32(s8);
          const std::uint32_t sa = s >> 24;
          if (sa == 255) {
            d8[0] = s8[0];
            d8[1] = s8[1];
            d8[2] = s8[2];
          } else if (sa != 0) {
            BlendIntoBgr24(d8, s);
          }
        }
      }
      return;
    }
  }
}

}  // namespace

void FillRow(Layout dstLayout, std::uint8_t* dst, Gdiplus::ARGB colour, std::int64_t count) {
  if (count <= 0) return;
  const std::uint32_t a = colour >> 24;
  if (a == 0) return;
  if (a == 255) {
    if (dstLayout == Layout::Bgr24) {
      std::uint8_t four[16];
      for (int k = 0; k < 4; ++k) Store32(four + 4 * k, colour);
      std::uint8_t packed[48];
      PackFour(packed, four);
      std::memcpy(packed + 12, packed, 12);
      std::memcpy(packed + 24, packed, 24);
      std::int64_t i = 0;
      for (; i + 16 <= count; i += 16, dst += 48) std::memcpy(dst, packed, 48);
      for (; i + 4 <= count; i += 4, dst += 12) std::memcpy(dst, packed, 12);
      for (; i < count; ++i, dst += 3) StoreBgr24(dst, colour);
    } else {
      for (std::int64_t i = 0; i < count; ++i, dst += 4) Store32(dst, colour);
    }
    return;
  }
  switch (dstLayout) {
    case Layout::Argb32:
      for (std::int64_t i = 0; i < count; ++i, dst += 4)
        Store32(dst, BlendArgb(Load32(dst), colour));
      return;
    case Layout::Rgb32: {
      // The source's share of each channel is the same for every pixel.
      const std::uint32_t inv = 255 - a;
      const std::uint32_t pr = ((colour >> 16) & 0xFF) * a + 127;
      const std::uint32_t pg = ((colour >> 8) & 0xFF) * a + 127;
      const std::uint32_t pb = (colour & 0xFF) * a + 127;
      for (std::int64_t i = 0; i < count; ++i, dst += 4) {
        const std::uint32_t d = Load32(dst);
        const std::uint32_t r = (pr + ((d >> 16) & 0xFF) * inv) / 255;
        const std::uint32_t g = (pg + ((d >> 8) & 0xFF) * inv) / 255;
        const std::uint32_t b = (pb + (d & 0xFF) * inv) / 255;
        Store32(dst, 0xFF000000u | (r << 16) | (g << 8) | b);
      }
      return;
    }
    case Layout::Bgr24: {
      const std::uint32_t inv = 255 - a;
      const std::uint32_t pr = ((colour >> 16) & 0xFF) * a + 127;
      const std::uint32_t pg = ((colour >> 8) & 0xFF) * a + 127;
      const std::uint32_t pb = (colour & 0xFF) * a + 127;
      for (std::int64_t i = 0; i < count; ++i, dst += 3) {
        dst[0] = static_cast<std::uint8_t>((pb + dst[0] * inv) / 255);
        dst[1] = static_cast<std::uint8_t>((pg + dst[1] * inv) / 255);
        dst[2] = static_cast<std::uint8_t>((pr + dst[2] * inv) / 255);
      }
      return;
    }
  }
}

void FillRows(Layout dstLayout, std::uint8_t* first, std::int64_t stride, Gdiplus::ARGB colour,
              std::int64_t count, std::int64_t rows) {
  const std::uint32_t a = colour >> 24;
  if (a == 255 && count > 0 && rows > 1) {
    // An opaque colour: every row is the same bytes, so the first is copied into the rest
    // (a copy of wide blocks, faster than storing pixel by pixel).
    FillRow(dstLayout, first, colour, count);
    const std::size_t bytes = static_cast<std::size_t>(count) * BytesPerPixel(dstLayout);
    for (std::int64_t y = 1; y < rows; ++y) std::memcpy(first + y * stride, first, bytes);
    return;
  }
  if (dstLayout != Layout::Rgb32 || a == 0 || a == 255 || count <= 0 || count * rows < 1024) {
    for (std::int64_t y = 0; y < rows; ++y) FillRow(dstLayout, first + y * stride, colour, count);
    return;
  }
  // A translucent colour over many pixels: each channel's 256 possible results worked
  // out once, by the same formula as FillRow's.
  const std::uint32_t inv = 255 - a;
  const std::uint32_t pr = ((colour >> 16) & 0xFF) * a + 127;
  const std::uint32_t pg = ((colour >> 8) & 0xFF) * a + 127;
  const std::uint32_t pb = (colour & 0xFF) * a + 127;
  std::uint32_t red[256], green[256], blue[256];
  for (std::uint32_t d = 0; d < 256; ++d) {
    red[d] = ((pr + d * inv) / 255) << 16;
    green[d] = ((pg + d * inv) / 255) << 8;
    blue[d] = (pb + d * inv) / 255;
  }
  for (std::int64_t y = 0; y < rows; ++y) {
    std::uint8_t* dst = first + y * stride;
    for (std::int64_t i = 0; i < count; ++i, dst += 4) {
      const std::uint32_t d = Load32(dst);
      Store32(dst, 0xFF000000u | red[(d >> 16) & 0xFF] | green[(d >> 8) & 0xFF] | blue[d & 0xFF]);
    }
  }
}

void ConvertRow(Layout dstLayout, std::uint8_t* dst, Layout srcLayout, const std::uint8_t* src,
                std::int64_t count) {
  if (count <= 0) return;
  if (dstLayout == srcLayout) {
    std::memcpy(dst, src, static_cast<std::size_t>(count) * BytesPerPixel(srcLayout));
    return;
  }
  const int srcStep = BytesPerPixel(srcLayout);
  for (std::int64_t i = 0; i < count; ++i, src += srcStep) {
    const std::uint32_t v = LoadPixel(srcLayout, src);
    switch (dstLayout) {
      case Layout::Argb32:
        Store32(dst, v);
        dst += 4;
        break;
      case Layout::Rgb32:
        Store32(dst, v | 0xFF000000u);
        dst += 4;
        break;
      case Layout::Bgr24:
        StoreBgr24(dst, v);
        dst += 3;
        break;
    }
  }
}

}  // namespace korvanth::imaging

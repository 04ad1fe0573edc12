// GIF writer over giflib. Pictures of at most 256 colours (every fully transparent pixel
// counted as the one transparent colour) keep every pixel; beyond that the visible
// colours are reduced by giflib's median cut. GIF has no partial alpha: translucent
// pixels keep their colour and become opaque.
#include <gif_lib.h>

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/portable/compositing.h"
#include "imaging/portable/encoders.h"

namespace korvanth::imaging {

namespace {

constexpr int kMaxColours = 256;

// Colour (0xRRGGBB) -> palette index, open addressing over a small fixed table.
class ColourIndex {
 public:
  ColourIndex() { keys_.fill(kEmpty); }

  // The colour's index, adding it while there is room; -1 once the palette is full.
  int Find(std::uint32_t rgb) {
    std::size_t slot = Hash(rgb);
    while (keys_[slot] != kEmpty) {
      if (keys_[slot] == rgb) return values_[slot];
      slot = (slot + 1) & (kSlots - 1);
    }
    if (colours_.size() >= kMaxColours) return -1;
    keys_[slot] = rgb;
    values_[slot] = static_cast<int>(colours_.size());
    colours_.push_back(rgb);
    return values_[slot];
  }
  const std::vector<std::uint32_t>& colours() const { return colours_; }

 private:
  static constexpr std::size_t kSlots = 1024;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never an RGB value
  static std::size_t Hash(std::uint32_t v) { return (v * 2654435761u) >> 22; }
  std::array<std::uint32_t, kSlots> keys_{};
  std::array<int, kSlots> values_{};
  std::vector<std::uint32_t> colours_;
};

struct Palette {
  std::vector<GifColorType> colours;
  int transparent = -1;
};

// The picture as 0xAARRGGBB rows, whatever its stored layout.
std::vector<std::uint32_t> ArgbPixels(const QImage& pixels, Layout layout) {
  const std::int64_t width = pixels.width();
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(width * pixels.height()));
  for (int y = 0; y < pixels.height(); ++y)
    ConvertRow(Layout::Argb32, reinterpret_cast<std::uint8_t*>(argb.data() + y * width), layout,
               pixels.constScanLine(y), width);
  return argb;
}

// Exact palette and indices, or false when the picture has too many colours.
bool ExactIndices(const std::vector<std::uint32_t>& argb, Palette& palette,
                  std::vector<GifByteType>& indices) {
  ColourIndex index;
  bool anyTransparent = false;
  for (std::uint32_t p : argb) {
    if ((p >> 24) == 0) {
      anyTransparent = true;
    } else if (index.Find(p & 0xFFFFFF) < 0) {
      return false;
    }
  }
  const int visible = static_cast<int>(index.colours().size());
  if (visible + (anyTransparent ? 1 : 0) > kMaxColours) return false;
  palette.transparent = anyTransparent ? visible : -1;
  palette.colours.clear();
  for (std::uint32_t rgb : index.colours())
    palette.colours.push_back(GifColorType{static_cast<GifByteType>(rgb >> 16),
                                           static_cast<GifByteType>(rgb >> 8),
                                           static_cast<GifByteType>(rgb)});
  if (anyTransparent) palette.colours.push_back(GifColorType{0, 0, 0});
  indices.resize(argb.size());
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint32_t p = argb[i];
    indices[i] =
        static_cast<GifByteType>((p >> 24) == 0 ? palette.transparent : index.Find(p & 0xFFFFFF));
  }
  return true;
}

// Median cut over the visible pixels; the transparent index follows the colours.
bool QuantizedIndices(const std::vector<std::uint32_t>& argb, Palette& palette,
                      std::vector<GifByteType>& indices) {
  std::vector<GifByteType> red, green, blue;
  bool anyTransparent = false;
  for (std::uint32_t p : argb) {
    if ((p >> 24) == 0) {
      anyTransparent = true;
      continue;
    }
    red.push_back(static_cast<GifByteType>(p >> 16));
    green.push_back(static_cast<GifByteType>(p >> 8));
    blue.push_back(static_cast<GifByteType>(p));
  }
  const int wanted = anyTransparent ? kMaxColours - 1 : kMaxColours;
  std::vector<GifByteType> visibleIndices(red.size());
  std::vector<GifColorType> map(kMaxColours, GifColorType{0, 0, 0});
  int mapSize = wanted;
  if (GifQuantizeBuffer(static_cast<unsigned>(red.size()), 1, &mapSize, red.data(), green.data(),
                        blue.data(), visibleIndices.data(), map.data()) != GIF_OK)
    return false;
  palette.colours.assign(map.begin(), map.begin() + wanted);
  palette.transparent = -1;
  if (anyTransparent) {
    palette.transparent = wanted;
    palette.colours.push_back(GifColorType{0, 0, 0});
  }
  indices.resize(argb.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < argb.size(); ++i) {
    if ((argb[i] >> 24) == 0) {
      indices[i] = static_cast<GifByteType>(palette.transparent);
    } else {
      const GifByteType v = visibleIndices[next++];
      indices[i] = v < wanted ? v : 0;
    }
  }
  return true;
}

int AppendOutput(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* out = static_cast<QByteArray*>(gif->UserData);
  out->append(reinterpret_cast<const char*>(bytes), length);
  return length;
}

struct MapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

bool WriteGif(int width, int height, const Palette& palette, std::vector<GifByteType>& indices,
              QByteArray& out) {
  // giflib wants a power-of-two palette of at least two entries.
  int size = 2;
  while (size < static_cast<int>(palette.colours.size())) size *= 2;
  std::vector<GifColorType> colours(palette.colours);
  colours.resize(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
  std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(size, colours.data()));
  if (!map) return false;

  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendOutput, &error);
  if (gif == nullptr) return false;
  EGifSetGifVersion(gif, true);
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map.get()) == GIF_OK;
  if (ok && palette.transparent >= 0) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.UserInputFlag = false;
    control.DelayTime = 0;
    control.TransparentColor = palette.transparent;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
         GIF_OK;
  }
  ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < height; ++y)
    ok = EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * width, width) == GIF_OK;
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  return ok;
}

}  // namespace

bool EncodeGif(const PortableBitmap& bitmap, QByteArray& out) {
  const QImage& pixels = bitmap.pixels;
  const std::optional<Layout> layout = LayoutOf(pixels.format());
  // The logical screen holds 16-bit sizes.
  if (!layout || pixels.width() > 0xFFFF || pixels.height() > 0xFFFF) return false;
  try {
    const std::vector<std::uint32_t> argb = ArgbPixels(pixels, *layout);
    Palette palette;
    std::vector<GifByteType> indices;
    if (!ExactIndices(argb, palette, indices) && !QuantizedIndices(argb, palette, indices))
      return false;
    out.clear();
    return WriteGif(pixels.width(), pixels.height(), palette, indices, out);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace korvanth::imaging

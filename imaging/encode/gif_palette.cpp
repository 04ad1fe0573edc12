// GIF's palette: every colour when 256 do, else a deterministic median cut, one index a pixel.
#include "imaging/encode/gif_palette.h"

#include <algorithm>
#include <array>

namespace korvanth::imaging::encode {

namespace {

constexpr int kMaxColours = 256;
// The most colours counted one by one; a picture of more is cut on rounded colours, so
// the counting holds a few MiB however large the picture.
constexpr std::size_t kMaxExactColours = std::size_t{1} << 18;

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

// Colour (0xRRGGBB) -> a number, open addressing sized for `capacity` colours.
class ColourMap {
 public:
  explicit ColourMap(std::size_t capacity) {
    std::size_t slots = 16;
    shift_ = 28;
    while (slots < 2 * capacity && shift_ > 7) {
      slots *= 2;
      --shift_;
    }
    keys_.assign(slots, kEmpty);
    values_.assign(slots, 0);
  }
  // The colour's slot: its own, or the empty one where it belongs.
  std::size_t Slot(std::uint32_t rgb) const {
    const std::size_t mask = keys_.size() - 1;
    // The product's high bits: they depend on every bit of the colour.
    std::size_t slot = static_cast<std::uint32_t>(rgb * 2654435761u) >> shift_;
    while (keys_[slot] != kEmpty && keys_[slot] != rgb) slot = (slot + 1) & mask;
    return slot;
  }
  bool Holds(std::size_t slot) const { return keys_[slot] != kEmpty; }
  void Put(std::size_t slot, std::uint32_t rgb, std::uint32_t value) {
    keys_[slot] = rgb;
    values_[slot] = value;
  }
  std::uint32_t Value(std::size_t slot) const { return values_[slot]; }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never an RGB value
  int shift_;                                           // 32 - log2(slots)
  std::vector<std::uint32_t> keys_;
  std::vector<std::uint32_t> values_;
};

bool IsTransparent(std::uint32_t argb) { return (argb >> 24) == 0; }

int Channel(std::uint32_t rgb, int channel) {
  return static_cast<int>((rgb >> (16 - 8 * channel)) & 0xFF);
}

struct WeightedColour {
  std::uint32_t rgb;
  std::uint64_t count;
};

// A run of the colour list [begin, end) with its pixel count.
struct CutBox {
  std::size_t begin;
  std::size_t end;
  std::uint64_t pixels;
  int longestChannel = 0;
  int longestSide = 0;
};

void Measure(const std::vector<WeightedColour>& list, CutBox& box) {
  int low[3] = {255, 255, 255};
  int high[3] = {0, 0, 0};
  for (std::size_t i = box.begin; i < box.end; ++i)
    for (int c = 0; c < 3; ++c) {
      low[c] = std::min(low[c], Channel(list[i].rgb, c));
      high[c] = std::max(high[c], Channel(list[i].rgb, c));
    }
  box.longestChannel = 0;
  box.longestSide = high[0] - low[0];
  for (int c = 1; c < 3; ++c)
    if (high[c] - low[c] > box.longestSide) {
      box.longestChannel = c;
      box.longestSide = high[c] - low[c];
    }
}

// Splits `box` where the pixel count along its longest side reaches half: colours up to
// that value go below, the others above. Only values decide, never the list's order, and
// both halves keep a colour since the side is longer than zero.
CutBox Split(std::vector<WeightedColour>& list, CutBox& box) {
  const int channel = box.longestChannel;
  std::array<std::uint64_t, 256> weight{};
  int low = 255;
  int high = 0;
  for (std::size_t i = box.begin; i < box.end; ++i) {
    const int value = Channel(list[i].rgb, channel);
    weight[static_cast<std::size_t>(value)] += list[i].count;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  int cut = low;
  std::uint64_t below = weight[static_cast<std::size_t>(low)];
  while (cut + 1 < high && 2 * below < box.pixels) {
    ++cut;
    below += weight[static_cast<std::size_t>(cut)];
  }
  const auto middle = std::partition(
      list.begin() + static_cast<std::ptrdiff_t>(box.begin),
      list.begin() + static_cast<std::ptrdiff_t>(box.end),
      [channel, cut](const WeightedColour& c) { return Channel(c.rgb, channel) <= cut; });
  const auto split = static_cast<std::size_t>(middle - list.begin());
  CutBox upper{split, box.end, box.pixels - below};
  box.end = split;
  box.pixels = below;
  Measure(list, box);
  Measure(list, upper);
  return upper;
}

std::uint32_t MeanColour(const std::vector<WeightedColour>& list, const CutBox& box) {
  std::uint64_t sum[3] = {0, 0, 0};
  for (std::size_t i = box.begin; i < box.end; ++i)
    for (int c = 0; c < 3; ++c)
      sum[c] += static_cast<std::uint64_t>(Channel(list[i].rgb, c)) * list[i].count;
  std::uint32_t rgb = 0;
  for (int c = 0; c < 3; ++c)
    rgb = rgb << 8 | static_cast<std::uint32_t>((sum[c] + box.pixels / 2) / box.pixels);
  return rgb;
}

}  // namespace

bool ExactPalette(const PixelRows& rows, IndexedPicture& picture) {
  ColourIndex index;
  bool anyTransparent = false;
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t p = rows.Argb(x, y);
      if (IsTransparent(p))
        anyTransparent = true;
      else if (index.Find(p & 0xFFFFFF) < 0)
        return false;
    }
  const int visible = static_cast<int>(index.colours().size());
  if (visible + (anyTransparent ? 1 : 0) > kMaxColours) return false;
  picture.colours = index.colours();
  picture.transparent = anyTransparent ? visible : -1;
  if (anyTransparent) picture.colours.push_back(0);
  picture.indices.resize(static_cast<std::size_t>(rows.width) * rows.height);
  std::size_t at = 0;
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t p = rows.Argb(x, y);
      picture.indices[at++] = static_cast<std::uint8_t>(
          IsTransparent(p) ? picture.transparent : index.Find(p & 0xFFFFFF));
    }
  return true;
}

namespace {

// Each visible colour, as `key` gives it, with its pixel count, in the order of first
// appearance; false (the list unfinished) once there would be more than `cap`.
struct ColourCounts {
  std::vector<WeightedColour> list;
  std::uint64_t visible = 0;
  bool anyTransparent = false;
};
template <typename Key>
bool CountColours(const PixelRows& rows, Key key, std::size_t cap, ColourCounts& counts) {
  const std::size_t pixelCount = static_cast<std::size_t>(rows.width) * rows.height;
  ColourMap seen(std::min(pixelCount, cap));
  counts.list.reserve(std::min(pixelCount, cap));
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t p = rows.Argb(x, y);
      if (IsTransparent(p)) {
        counts.anyTransparent = true;
        continue;
      }
      ++counts.visible;
      const std::uint32_t rgb = key(p);
      const std::size_t slot = seen.Slot(rgb);
      if (!seen.Holds(slot)) {
        if (counts.list.size() == cap) return false;
        seen.Put(slot, rgb, static_cast<std::uint32_t>(counts.list.size()));
        counts.list.push_back({rgb, 0});
      }
      ++counts.list[seen.Value(slot)].count;
    }
  return true;
}

// A colour's exact value, and its value rounded to 6 bits a channel (the middle of its step
// of 4), of which there are at most kMaxExactColours.
std::uint32_t ExactKey(std::uint32_t argb) { return argb & 0xFFFFFF; }
std::uint32_t RoundedKey(std::uint32_t argb) { return (argb & 0xFCFCFC) | 0x020202; }

}  // namespace

void QuantizedPalette(const PixelRows& rows, IndexedPicture& picture) {
  ColourCounts counts;
  const bool exact = CountColours(rows, ExactKey, kMaxExactColours, counts);
  if (!exact) {
    counts = ColourCounts();
    CountColours(rows, RoundedKey, kMaxExactColours, counts);
  }
  const auto key = [exact](std::uint32_t argb) {
    return exact ? ExactKey(argb) : RoundedKey(argb);
  };
  std::vector<WeightedColour>& list = counts.list;
  const std::uint64_t visible = counts.visible;
  const bool anyTransparent = counts.anyTransparent;
  const std::size_t wanted = anyTransparent ? kMaxColours - 1 : kMaxColours;

  std::vector<CutBox> boxes;
  if (!list.empty()) {
    boxes.push_back({0, list.size(), visible});
    Measure(list, boxes.back());
  }
  while (boxes.size() < wanted) {
    std::size_t best = boxes.size();
    std::uint64_t bestScore = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const std::uint64_t score =
          boxes[i].end - boxes[i].begin < 2 ? 0 : boxes[i].pixels * (boxes[i].longestSide + 1);
      if (score > bestScore) {
        bestScore = score;
        best = i;
      }
    }
    if (best == boxes.size()) break;  // every box holds one colour
    const CutBox upper = Split(list, boxes[best]);
    boxes.push_back(upper);
  }

  picture.colours.clear();
  for (const CutBox& box : boxes) picture.colours.push_back(MeanColour(list, box));
  picture.transparent = -1;
  if (anyTransparent) {
    picture.transparent = static_cast<int>(picture.colours.size());
    picture.colours.push_back(0);
  }

  // Each colour's box, looked up by colour.
  ColourMap boxOf(list.size());
  for (std::size_t b = 0; b < boxes.size(); ++b)
    for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i)
      boxOf.Put(boxOf.Slot(list[i].rgb), list[i].rgb, static_cast<std::uint32_t>(b));
  picture.indices.resize(static_cast<std::size_t>(rows.width) * rows.height);
  std::size_t at = 0;
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t p = rows.Argb(x, y);
      picture.indices[at++] = static_cast<std::uint8_t>(
          IsTransparent(p) ? picture.transparent : boxOf.Value(boxOf.Slot(key(p))));
    }
}

}  // namespace korvanth::imaging::encode

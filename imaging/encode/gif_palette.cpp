#include "imaging/encode/gif_palette.h"

#include <algorithm>
#include <array>

namespace korvanth::encode {

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

// Splits `box` at the weighted median of its longest side; both halves keep a colour.
CutBox Split(std::vector<WeightedColour>& list, CutBox& box) {
  const int channel = box.longestChannel;
  std::sort(list.begin() + static_cast<std::ptrdiff_t>(box.begin),
            list.begin() + static_cast<std::ptrdiff_t>(box.end),
            [channel](const WeightedColour& a, const WeightedColour& b) {
              const int ca = Channel(a.rgb, channel), cb = Channel(b.rgb, channel);
              return ca != cb ? ca < cb : a.rgb < b.rgb;
            });
  std::uint64_t below = 0;
  std::size_t cut = box.begin + 1;
  for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
    below += list[i].count;
    cut = i + 1;
    if (2 * below >= box.pixels) break;
  }
  CutBox upper{cut, box.end, box.pixels - below};
  box.end = cut;
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

void QuantizedPalette(const PixelRows& rows, IndexedPicture& picture) {
  std::vector<std::uint32_t> visible;
  visible.reserve(static_cast<std::size_t>(rows.width) * rows.height);
  bool anyTransparent = false;
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t p = rows.Argb(x, y);
      if (IsTransparent(p))
        anyTransparent = true;
      else
        visible.push_back(p & 0xFFFFFF);
    }
  std::sort(visible.begin(), visible.end());
  std::vector<WeightedColour> list;
  for (std::uint32_t rgb : visible) {
    if (!list.empty() && list.back().rgb == rgb)
      ++list.back().count;
    else
      list.push_back({rgb, 1});
  }
  const std::size_t wanted = anyTransparent ? kMaxColours - 1 : kMaxColours;

  std::vector<CutBox> boxes;
  if (!list.empty()) {
    boxes.push_back({0, list.size(), visible.size()});
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
  std::vector<std::pair<std::uint32_t, std::uint8_t>> boxOf;
  boxOf.reserve(list.size());
  for (std::size_t b = 0; b < boxes.size(); ++b)
    for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i)
      boxOf.emplace_back(list[i].rgb, static_cast<std::uint8_t>(b));
  std::sort(boxOf.begin(), boxOf.end());
  picture.indices.resize(static_cast<std::size_t>(rows.width) * rows.height);
  std::size_t at = 0;
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t p = rows.Argb(x, y);
      if (IsTransparent(p)) {
        picture.indices[at++] = static_cast<std::uint8_t>(picture.transparent);
        continue;
      }
      const auto found = std::lower_bound(boxOf.begin(), boxOf.end(),
                                          std::pair<std::uint32_t, std::uint8_t>(p & 0xFFFFFF, 0));
      picture.indices[at++] = found->second;
    }
}

}  // namespace korvanth::encode

// The block picture's drawing: whole SVG units only, so the text is the same on every run
// and host.
#include "block_svg.h"

#include <string_view>
#include <vector>

namespace korvanth::block_pictures {

namespace {

constexpr int kQuarter = 96;     // a quarter's side in the picture
constexpr int kInset = 18;       // how far a border lies inside its quarter side
constexpr int kMarginLeft = 44;  // room for the row numbers
constexpr int kMarginTop = 92;   // room for the title and the column numbers
constexpr int kLegendGap = 28;   // between the block and the legend
constexpr int kLegendWidth = 330;
constexpr int kLineHeight = 17;

struct Palette {
  std::string_view fill;
  std::string_view border;
};
constexpr Palette kTerrainPalette{"#b5dc98", "#3d7a24"};
constexpr Palette kRoofPalette{"#eab09c", "#8a3320"};

struct PartStyle {
  BlockPart part;
  std::string_view colour;
  std::string_view name;                // a patch's is followed by its size in tiles
  std::vector<std::string_view> words;  // legend lines below the name
};

const std::vector<PartStyle>& PartStyles() {
  static const std::vector<PartStyle> styles = {
      {BlockPart::Patch, "#2f6fb3", "patch", {"the terrain with its border all round"}},
      {BlockPart::InnerCorner,
       "#d9822b",
       "inner-corner tile",
       {"the terrain, with the ground showing", "at each of its outer corners"}},
      {BlockPart::Closed, "#8e44ad", "closed tile", {"one tile of terrain bordered all round"}},
      {BlockPart::OwnTile,
       "#16a085",
       "own tile",
       {"anything: it is placed as drawn", "and carries no terrain"}},
      {BlockPart::Unread, "#8a8a8a", "never read", {"draw anything or nothing"}},
  };
  return styles;
}

const PartStyle& StyleOf(BlockPart part) {
  for (const PartStyle& style : PartStyles())
    if (style.part == part) return style;
  return PartStyles().back();
}

std::string Num(int value) { return std::to_string(value); }

class Svg {
 public:
  void Rect(int x, int y, int w, int h, std::string_view fill, std::string_view extra = {}) {
    text_ += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) + "\" height=\"" +
             Num(h) + "\" fill=\"" + std::string(fill) + "\"";
    if (!extra.empty()) text_ += " " + std::string(extra);
    text_ += "/>\n";
  }
  void Line(int x1, int y1, int x2, int y2, std::string_view stroke, int width,
            std::string_view extra = {}) {
    text_ += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
             Num(y2) + "\" stroke=\"" + std::string(stroke) + "\" stroke-width=\"" + Num(width) +
             "\"";
    if (!extra.empty()) text_ += " " + std::string(extra);
    text_ += "/>\n";
  }
  void Text(int x, int y, std::string_view words, int size, std::string_view extra = {}) {
    text_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + Num(size) + "\"";
    if (!extra.empty()) text_ += " " + std::string(extra);
    text_ += ">" + std::string(words) + "</text>\n";
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// One quarter at (x, y): what it shows drawn, then its words.
void DrawQuarter(Svg& svg, int x, int y, const QuarterLook& look, const Palette& palette) {
  constexpr int q = kQuarter, m = kInset;
  switch (look.kind) {
    case QuarterKind::NotRead:
      svg.Rect(x, y, q, q, "#e4e4e4");
      break;
    case QuarterKind::OwnTile:
      svg.Rect(x, y, q, q, "#d4efe8");
      break;
    case QuarterKind::Terrain:
    case QuarterKind::Plain: {
      svg.Rect(x, y, q, q, "#ffffff");
      const int left = look.border & kLeftSide ? m : 0, right = look.border & kRightSide ? m : 0;
      const int top = look.border & kTopSide ? m : 0, bottom = look.border & kBottomSide ? m : 0;
      svg.Rect(x + left, y + top, q - left - right, q - top - bottom, palette.fill);
      if (left) svg.Line(x + m, y + top, x + m, y + q - bottom, palette.border, 4);
      if (right) svg.Line(x + q - m, y + top, x + q - m, y + q - bottom, palette.border, 4);
      if (top) svg.Line(x + left, y + m, x + q - right, y + m, palette.border, 4);
      if (bottom) svg.Line(x + left, y + q - m, x + q - right, y + q - m, palette.border, 4);
      if (look.notch >= 0) {
        // The ground at the open corner, the border turning round it.
        const int nx = look.notch % 2 == 0 ? x : x + q - m;
        const int ny = look.notch < 2 ? y : y + q - m;
        const int cornerX = look.notch % 2 == 0 ? x + m : x + q - m;
        const int cornerY = look.notch < 2 ? y + m : y + q - m;
        svg.Rect(nx, ny, m, m, "#ffffff");
        svg.Line(cornerX, ny, cornerX, ny + m, palette.border, 4);
        svg.Line(nx, cornerY, nx + m, cornerY, palette.border, 4);
      }
      break;
    }
  }
  const std::vector<std::string> label = LabelOf(look);
  const int first = y + q / 2 + 5 - (static_cast<int>(label.size()) - 1) * 7;
  for (std::size_t i = 0; i < label.size(); ++i)
    svg.Text(x + q / 2, first + static_cast<int>(i) * 14, label[i], 11, "text-anchor=\"middle\"");
}

}  // namespace

std::string BlockSvg(const FormatEntry& entry, const BlockLooks& looks) {
  const bool terrain = !entry.terrain.empty();
  const Palette& palette = terrain ? kTerrainPalette : kRoofPalette;
  const int blockWidth = looks.columns * kQuarter, blockHeight = looks.rows * kQuarter;
  const int legendX = kMarginLeft + blockWidth + kLegendGap;
  const int width = legendX + kLegendWidth;
  const int height = kMarginTop + blockHeight + 16;

  Svg svg;
  svg.Rect(0, 0, width, height, "#ffffff");
  const int tilesAcross = entry.block.width / kTileSize, tilesDown = entry.block.height / kTileSize;
  svg.Text(16, 28,
           std::string(entry.cliName) + ": a block of " + Num(tilesAcross) + " x " +
               Num(tilesDown) + " tiles",
           18, "font-weight=\"bold\"");
  svg.Text(16, 50,
           Num(entry.block.width) + " x " + Num(entry.block.height) +
               " pixels at the default tile size of " + Num(kTileSize) +
               "; numbers count quarters from the top left",
           13);

  for (int c = 0; c < looks.columns; ++c)
    svg.Text(kMarginLeft + c * kQuarter + kQuarter / 2, kMarginTop - 10, Num(c), 13,
             "text-anchor=\"middle\" fill=\"#555555\"");
  for (int r = 0; r < looks.rows; ++r)
    svg.Text(kMarginLeft - 12, kMarginTop + r * kQuarter + kQuarter / 2 + 5, Num(r), 13,
             "text-anchor=\"end\" fill=\"#555555\"");

  for (int r = 0; r < looks.rows; ++r)
    for (int c = 0; c < looks.columns; ++c)
      DrawQuarter(svg, kMarginLeft + c * kQuarter, kMarginTop + r * kQuarter, looks.at(c, r),
                  palette);

  // Quarters in thin dashed lines, tiles in thick ones, the parts in their colours inside.
  for (int c = 1; c < looks.columns; c += 2)
    svg.Line(kMarginLeft + c * kQuarter, kMarginTop, kMarginLeft + c * kQuarter,
             kMarginTop + blockHeight, "#777777", 1, "stroke-dasharray=\"5 4\"");
  for (int r = 1; r < looks.rows; r += 2)
    svg.Line(kMarginLeft, kMarginTop + r * kQuarter, kMarginLeft + blockWidth,
             kMarginTop + r * kQuarter, "#777777", 1, "stroke-dasharray=\"5 4\"");
  for (int c = 0; c <= looks.columns; c += 2)
    svg.Line(kMarginLeft + c * kQuarter, kMarginTop, kMarginLeft + c * kQuarter,
             kMarginTop + blockHeight, "#333333", 3);
  for (int r = 0; r <= looks.rows; r += 2)
    svg.Line(kMarginLeft, kMarginTop + r * kQuarter, kMarginLeft + blockWidth,
             kMarginTop + r * kQuarter, "#333333", 3);
  for (const BlockRegion& region : entry.terrain)
    svg.Rect(kMarginLeft + region.column * kQuarter + 3, kMarginTop + region.row * kQuarter + 3,
             region.columns * kQuarter - 6, region.rows * kQuarter - 6, "none",
             "stroke=\"" + std::string(StyleOf(region.part).colour) + "\" stroke-width=\"3\"");

  // The legend: the parts, then the words in the quarters, then the lines.
  int y = kMarginTop + 12;
  auto legendLine = [&](std::string_view words, std::string_view extra = {}) {
    svg.Text(legendX, y, words, 13, extra);
    y += kLineHeight;
  };
  if (terrain) {
    legendLine("Parts of the block", "font-weight=\"bold\"");
    for (const BlockRegion& region : entry.terrain) {
      const PartStyle& style = StyleOf(region.part);
      svg.Rect(legendX, y - 11, 22, 12, "none",
               "stroke=\"" + std::string(style.colour) + "\" stroke-width=\"4\"");
      std::string name(style.name);
      if (region.part == BlockPart::Patch)
        name += " of " + Num(region.columns / 2) + " x " + Num(region.rows / 2) + " tiles";
      svg.Text(legendX + 32, y, name, 13, "font-style=\"italic\"");
      y += kLineHeight;
      for (std::string_view words : style.words) {
        svg.Text(legendX + 32, y, words, 13);
        y += kLineHeight;
      }
      y += 4;
    }
    y += kLineHeight / 2;
    legendLine("In each quarter", "font-weight=\"bold\"");
    legendLine("corner, edge: the terrain ends on that side,");
    legendLine("its border along it");
    legendLine("inner corner: terrain on both sides, the");
    legendLine("ground showing in that corner");
    legendLine("full: terrain all round");
  } else {
    legendLine("In each quarter", "font-weight=\"bold\"");
    legendLine("corner, edge: the roof ends on that side,");
    legendLine("its border along it");
    legendLine("middle: the roof between its edges");
  }
  y += kLineHeight / 2;
  legendLine("Lines", "font-weight=\"bold\"");
  legendLine("thick: tiles (" + Num(kTileSize) + " x " + Num(kTileSize) + " pixels)");
  legendLine("dashed: quarters (" + Num(kQuarterSize) + " x " + Num(kQuarterSize) + " pixels)");

  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) + "\" height=\"" +
         Num(height) + "\" viewBox=\"0 0 " + Num(width) + " " + Num(height) +
         "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"#222222\">\n" + svg.text() +
         "</svg>\n";
}

}  // namespace korvanth::block_pictures

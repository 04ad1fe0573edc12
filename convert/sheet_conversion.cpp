#include "convert/sheet_conversion.h"

#include <cstdint>
#include <limits>

#include "convert/export_sheet.h"

namespace korvanth {

namespace {

struct ExtensionRule {
  std::string_view extension;
  const WCHAR* mimeType;
};

constexpr ExtensionRule kExtensionRules[] = {
    {"bmp", WIDE_TEXT("image/bmp")},   {"gif", WIDE_TEXT("image/gif")},
    {"jpg", WIDE_TEXT("image/jpeg")},  {"jpeg", WIDE_TEXT("image/jpeg")},
    {"png", WIDE_TEXT("image/png")},   {"tif", WIDE_TEXT("image/tiff")},
    {"tiff", WIDE_TEXT("image/tiff")},
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool AxisFits(std::int32_t corner, int extent) {
  return static_cast<std::int64_t>(corner) + extent - 1 <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::string ConversionReason(const ConversionStatus& status) {
  switch (status.problem) {
    case ConversionProblem::None:
      return {};
    case ConversionProblem::NoPicture:
      return "no picture is open";
    case ConversionProblem::NoExtension:
      return "the name has no extension (.png, .bmp, .gif, .jpg, .tif)";
    case ConversionProblem::InvalidName:
      return "the name is not valid UTF-8";
    case ConversionProblem::BlockOutOfRange:
      return "the block lies beyond the largest pixel position";
    case ConversionProblem::BuildFailed:
      return "the sheet could not be built (out of memory)";
    case ConversionProblem::SaveFailed:
      return SaveProblemText(status.save.problem);
    case ConversionProblem::OpenPicture:
      return "it is the open picture; it is never written over";
  }
  return "the sheet could not be written";
}

std::optional<std::string_view> ExtensionOf(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return path.substr(dot + 1);
}

EncoderChoice ChooseEncoder(std::string_view extension) {
  EncoderChoice choice;
  for (const ExtensionRule& rule : kExtensionRules) {
    if (EqualsIgnoringAsciiCase(extension, rule.extension)) {
      FindEncoderByMimeType(rule.mimeType, &choice.clsid);
      return choice;
    }
  }
  FindEncoderByMimeType(WIDE_TEXT("image/bmp"), &choice.clsid);
  choice.fallback = true;
  return choice;
}

bool BlockFitsPositions(SelectionPoint origin, PixelSize block) {
  return AxisFits(origin.x, block.width) && AxisFits(origin.y, block.height);
}

}  // namespace korvanth

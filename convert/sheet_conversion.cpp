// What a conversion decides from the name and block (encoder, positions), and failure reasons.
#include "convert/sheet_conversion.h"

#include <cstdint>
#include <limits>

namespace korvanth {

namespace {

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
      return "the name has no extension (" + CanonicalExtensions(".", ", ") + ")";
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
    case ConversionProblem::OtherInput:
      return "it is a file Korvanth reads; it is never written over";
  }
  return "the sheet could not be written";
}

EncoderChoice ChooseEncoder(std::string_view extension) {
  const FileType* type = FileTypeForExtension(extension);
  return {type != nullptr ? type : &FallbackFileType(), type == nullptr};
}

bool BlockFitsPositions(SelectionPoint origin, PixelSize block) {
  return AxisFits(origin.x, block.width) && AxisFits(origin.y, block.height);
}

}  // namespace korvanth

// What a conversion decides from the sheet's name and the block, and the status that says
// why a conversion failed (RunConversion in conversion_job.h runs one).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "imaging/file_types.h"
#include "imaging/handles.h"
#include "imaging/save_file.h"
#include "imaging/ui_language.h"

namespace korvanth {

enum class ConversionWarning {
  BitmapFallback,  // the extension selects no file type: BMP content is written
};

// Receives each warning before the sheet is written; may be empty.
using WarningSink = std::function<void(ConversionWarning)>;

enum class ConversionProblem {
  None,
  NoPicture,        // the source holds no picture
  NoExtension,      // the name has no '.' to take a file type from
  InvalidName,      // the name is not valid UTF-8 (it is never repaired into another name)
  BlockOutOfRange,  // the block's pixels do not all have 32-bit positions
  BuildFailed,      // the sheet could not be built in memory
  SaveFailed,       // see `save`
  OpenPicture,      // the name leads to the open picture's own file, never written over
  OtherInput,       // the name leads to another file the run reads, never written over
};

struct ConversionStatus {
  ConversionProblem problem = ConversionProblem::None;
  SaveOutcome save;  // the save's outcome when problem is SaveFailed
  bool ok() const { return problem == ConversionProblem::None; }
};

// The cause in a few words of both languages ("disk full", "the name is not valid
// UTF-8", ...); empty for success. ConversionReason is its English.
Phrase ConversionCause(const ConversionStatus& status);
std::string ConversionReason(const ConversionStatus& status);

struct EncoderChoice {
  const FileType* type = nullptr;  // never null once chosen
  bool fallback = false;           // the extension selects no type: BMP is used
};

// The file type written for an extension (compared without regard to ASCII case);
// anything else selects BMP as a fallback.
EncoderChoice ChooseEncoder(std::string_view extension);

// Whether every pixel of a `block`-sized block at `origin` has a 32-bit signed position.
bool BlockFitsPositions(SelectionPoint origin, PixelSize block);

}  // namespace korvanth

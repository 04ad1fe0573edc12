// Why a picture did not load, in words that are the same on every host: the loader's
// own judgement of the file's header first, then the decoder's status.
#pragma once

#include "imaging/gdiplus_api.h"
#include "imaging/picture_header.h"
#include "imaging/ui_language.h"

namespace korvanth {

enum class LoadProblem {
  None,
  BadPath,  // too long for the path buffer, or not valid text
  NoMemory,
  NotFound,
  NoAccess,
  NotAFile,  // a folder, a FIFO, a device or a socket: never opened or waited on
  Unreadable,
  UnknownFormat,
  Damaged,
  TooLarge,
  UnsupportedBmp,  // a valid picture of a kind the decoders do not read
  UnsupportedJpeg,
  UnsupportedTiff,
  DecoderMissing  // the library that reads the format (libtiff) could not be loaded
};

// The problem behind a failed decode of a file whose header named `type` (Unknown when
// the header could not be read at all).
LoadProblem ProblemOfFailedDecode(GpStatus status, imaging::PictureType type);

// The problem a header judgement alone settles, a path that names no readable file
// included (None when the file goes to the decoder).
LoadProblem ProblemOfHeader(const imaging::PictureHeader& header);

// The status a refused load leaves in the picture's handle.
GpStatus StatusOfProblem(LoadProblem problem);

// One short line for the user in both languages; LoadProblemText is its English.
UiText LoadProblemCause(LoadProblem problem);
const char* LoadProblemText(LoadProblem problem);

}  // namespace korvanth

// Writing a picture to a file whole or not at all, on both hosts: the encoded file goes
// beside the target under a temporary name and is then moved over it, so a failed save
// leaves neither a partial file nor a lost old one. A failure names its cause.
#pragma once

#include "imaging/gdiplus_api.h"

namespace korvanth {

enum class SaveProblem {
  None,
  PermissionDenied,
  DiskFull,
  NameTooLong,
  FolderMissing,
  IsFolder,
  EncoderFailed,
  Other,
};

struct SaveOutcome {
  GpStatus status = Ok;  // the GDI+ status of the save (Ok exactly when problem is None)
  SaveProblem problem = SaveProblem::None;
  bool ok() const { return problem == SaveProblem::None; }
};

// Encodes `image` with the encoder `encoder` and writes it to `path`.
SaveOutcome SaveImageFile(GpImage* image, const WCHAR* path, const CLSID& encoder);

// The cause in a few English words ("disk full", "permission denied", ...), the same on
// both hosts; empty for None.
const char* SaveProblemText(SaveProblem problem);

}  // namespace korvanth

#include "imaging/save_file.h"

namespace korvanth {

// Provisional: the host's own save, with the cause told from its status only.
SaveOutcome SaveImageFile(GpImage* image, const WCHAR* path, const CLSID& encoder) {
  const GpStatus status = GdipSaveImageToFile(image, path, &encoder, nullptr);
  SaveOutcome outcome;
  outcome.status = status;
  switch (status) {
    case Ok:
      break;
    case AccessDenied:
      outcome.problem = SaveProblem::PermissionDenied;
      break;
    case GenericError:
    case OutOfMemory:
      outcome.problem = SaveProblem::EncoderFailed;
      break;
    default:
      outcome.problem = SaveProblem::Other;
      break;
  }
  return outcome;
}

const char* SaveProblemText(SaveProblem problem) {
  switch (problem) {
    case SaveProblem::None:
      return "";
    case SaveProblem::PermissionDenied:
      return "permission denied";
    case SaveProblem::DiskFull:
      return "disk full";
    case SaveProblem::NameTooLong:
      return "name too long";
    case SaveProblem::FolderMissing:
      return "the folder does not exist";
    case SaveProblem::IsFolder:
      return "it is a folder";
    case SaveProblem::EncoderFailed:
      return "the sheet could not be encoded";
    case SaveProblem::Other:
      return "the file could not be written";
  }
  return "the file could not be written";
}

}  // namespace korvanth

// Saving a picture whole or not at all, and save failures named from errno or Windows errors.
#include "imaging/save_file.h"

#include <cerrno>
#include <cstddef>
#include <iterator>
#include <new>

namespace korvanth {

SaveOutcome SaveImageFile(GpImage* image, const WCHAR* path, const FileType& type) {
  SaveOutcome outcome;
  std::vector<std::uint8_t> bytes;
  try {
    outcome.status = EncodeImage(image, type, bytes);
  } catch (const std::bad_alloc&) {
    outcome.status = OutOfMemory;
  }
  if (outcome.status != Ok) {
    outcome.problem = SaveProblem::EncoderFailed;
    return outcome;
  }
  outcome.problem = ReplaceFileWith(path, bytes);
  outcome.status = StatusForProblem(outcome.problem);
  return outcome;
}

SaveProblem SaveProblemFromErrno(int error) {
  switch (error) {
    case 0:
      return SaveProblem::None;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return SaveProblem::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return SaveProblem::PermissionDenied;
    case ENAMETOOLONG:
      return SaveProblem::NameTooLong;
    case ENOENT:
    case ENOTDIR:
      return SaveProblem::FolderMissing;
    case EISDIR:
      return SaveProblem::IsFolder;
    default:
      return SaveProblem::Other;
  }
}

SaveProblem SaveProblemFromWindowsError(std::uint32_t error) {
  // Codes as winerror.h numbers them; kept here so the table reads the same on both hosts.
  switch (error) {
    case 0:  // ERROR_SUCCESS
      return SaveProblem::None;
    case 39:    // ERROR_HANDLE_DISK_FULL
    case 112:   // ERROR_DISK_FULL
    case 1295:  // ERROR_DISK_QUOTA_EXCEEDED
      return SaveProblem::DiskFull;
    case 5:   // ERROR_ACCESS_DENIED
    case 19:  // ERROR_WRITE_PROTECT
      return SaveProblem::PermissionDenied;
    case 111:  // ERROR_BUFFER_OVERFLOW
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return SaveProblem::NameTooLong;
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
      return SaveProblem::FolderMissing;
    default:
      return SaveProblem::Other;
  }
}

SaveProblem SaveProblemFromErrorCode(const std::error_code& error) {
#ifdef _WIN32
  // There the system category carries Windows' own codes; the generic one the C library's.
  if (error.category() == std::system_category())
    return SaveProblemFromWindowsError(static_cast<std::uint32_t>(error.value()));
#endif
  return SaveProblemFromErrno(error.value());
}

bool HasOverlongWindowsName(const WCHAR* path) {
  constexpr std::size_t kLongestName = 255;
  std::size_t run = 0;
  for (const WCHAR* unit = path; unit != nullptr && *unit != 0; ++unit) {
    run = (*unit == u'\\' || *unit == u'/') ? 0 : run + 1;
    if (run > kLongestName) return true;
  }
  return false;
}

GpStatus StatusForProblem(SaveProblem problem) {
  switch (problem) {
    case SaveProblem::None:
      return Ok;
    case SaveProblem::PermissionDenied:
      return AccessDenied;
    case SaveProblem::EncoderFailed:
      return GenericError;
    default:
      return Win32Error;
  }
}

namespace {

// In the order of SaveProblem.
constexpr UiText kSaveProblemCauses[] = {
    {"", ""},
    {"アクセスが拒否されました", "permission denied"},
    {"ディスクがいっぱいです", "disk full"},
    {"名前が長すぎます", "name too long"},
    {"フォルダーがありません", "the folder does not exist"},
    {"フォルダーのパスの途中にファイルがあります", "a file is in the way of its folder"},
    {"フォルダーです", "it is a folder"},
    {"通常のファイルではありません", "it is not a regular file"},
    {"シートをエンコードできませんでした", "the sheet could not be encoded"},
    {"ファイルを書き込めませんでした", "the file could not be written"},
};
static_assert(std::size(kSaveProblemCauses) == static_cast<std::size_t>(SaveProblem::Other) + 1);

}  // namespace

UiText SaveProblemCause(SaveProblem problem) {
  const auto index = static_cast<std::size_t>(problem);
  return index < std::size(kSaveProblemCauses)
             ? kSaveProblemCauses[index]
             : kSaveProblemCauses[static_cast<std::size_t>(SaveProblem::Other)];
}

const char* SaveProblemText(SaveProblem problem) { return SaveProblemCause(problem).english; }

}  // namespace korvanth

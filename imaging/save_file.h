// Writing a picture to a file whole or not at all, on both hosts: the encoded file goes
// beside the target under a temporary name and is then moved over it, so a failed save
// leaves neither a partial file nor a lost old one. A failure names its cause.
#pragma once

#include <cstdint>
#include <span>
#include <system_error>
#include <vector>

#include "imaging/file_types.h"
#include "imaging/gdiplus_api.h"
#include "imaging/ordered_workers.h"
#include "imaging/ui_language.h"

namespace korvanth {

enum class SaveProblem {
  None,
  PermissionDenied,
  DiskFull,
  NameTooLong,
  FolderMissing,
  FileInTheWay,  // a part of the folder's path is a file
  IsFolder,
  NotRegularFile,  // a FIFO, a device, a socket: never replaced
  EncoderFailed,
  Other,
};

struct SaveOutcome {
  GpStatus status = Ok;  // the GDI+ status of the save (Ok exactly when problem is None)
  SaveProblem problem = SaveProblem::None;
  bool ok() const { return problem == SaveProblem::None; }
};

// Encodes `image` as a file of `type` and writes it to `path`.
SaveOutcome SaveImageFile(GpImage* image, const WCHAR* path, const FileType& type);

// Encodes `image` into the whole file's bytes of `type`: by the type's own writer where it
// has one, the same on both hosts, otherwise by the host's encoder for its MIME type (a
// lossy one at the project's quality). Ok, or the status telling why not.
// A writer that can deflate on several threads (PNG) uses up to `workers`.
GpStatus EncodeImage(GpImage* image, const FileType& type, std::vector<std::uint8_t>& bytes,
                     int workers = AvailableCores());

// Writes `bytes` to a new file in the folder of `path` that gets the name `path` only once
// it is complete (a StagedFile committed at once); on any failure the new file is removed
// and an existing file at `path` is left as it was. Only a regular file (or a link to one,
// which stays a link) is replaced. Stale temporaries of ended processes in that folder go.
SaveProblem ReplaceFileWith(const WCHAR* path, std::span<const std::uint8_t> bytes);

// The cause of a failed file operation, from the C library's errno or from a Windows
// error code (GetLastError).
SaveProblem SaveProblemFromErrno(int error);
SaveProblem SaveProblemFromWindowsError(std::uint32_t error);
// The same from a portable error code (std::filesystem's), on either host.
SaveProblem SaveProblemFromErrorCode(const std::error_code& error);

// Whether a part of `path` between separators ('\\' or '/') is longer than the 255 UTF-16
// units a Windows file name may hold. Windows hosts answer such a name with differing
// codes (Wine: a missing path), so the Windows writers settle it before asking.
bool HasOverlongWindowsName(const WCHAR* path);

// The GDI+ status of a failed write: AccessDenied for permissions, Win32Error otherwise.
GpStatus StatusForProblem(SaveProblem problem);

// The cause in a few words of both languages ("disk full", "permission denied", ...), the
// same on both hosts; empty for None. SaveProblemText is its English.
UiText SaveProblemCause(SaveProblem problem);
const char* SaveProblemText(SaveProblem problem);

}  // namespace korvanth

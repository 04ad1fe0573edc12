// Whole-or-nothing file writes on Windows: the bytes go to a new file in the target's
// folder, are flushed, and the file is moved over the target with MoveFileExW
// (replace-existing, write-through); GetLastError names the cause of any failure. Windows
// has no nameless files, so a save killed on the way leaves its temporary; the next save
// into the folder removes it.
#include <string>
#include <utility>

#include "imaging/save_file.h"
#include "imaging/staged_file.h"
#include "imaging/stale_temporaries.h"

namespace korvanth {

namespace {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) return path.substr(0, slash + 1);
  // "C:name" lies in drive C's current folder.
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  return std::wstring();
}

HANDLE CreateTemporary(const std::wstring& folder, std::wstring& name) {
  static LONG counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + std::wstring(kTemporaryPrefix.begin(), kTemporaryPrefix.end()) +
           std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter)) + L".tmp";
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    data += written;
    left -= written;
  }
  return true;
}

// Whether the nearest existing part of `folder`'s path is a file: Windows answers both that
// and a missing folder with ERROR_PATH_NOT_FOUND.
bool FileBlocksFolder(std::wstring folder) {
  for (;;) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.empty() || folder.back() == L':') return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    folder = FolderOf(folder);
  }
}

SaveProblem ProblemFor(DWORD error, const std::wstring& folder) {
  const SaveProblem problem = SaveProblemFromWindowsError(error);
  if (problem == SaveProblem::FolderMissing && FileBlocksFolder(folder))
    return SaveProblem::FileInTheWay;
  return problem == SaveProblem::None ? SaveProblem::Other : problem;
}

}  // namespace

// A file staged alone and committed at once: written under a temporary name, then moved.
SaveProblem ReplaceFileWith(const WCHAR* path, const std::vector<std::uint8_t>& bytes) {
  StagedFile file;
  const SaveProblem staged = file.Stage(path, bytes);
  return staged != SaveProblem::None ? staged : file.Commit();
}

SaveProblem StagedFile::Stage(const WCHAR* path, const std::vector<std::uint8_t>& bytes) {
  Discard();
  if (path == nullptr || *path == 0) return SaveProblem::FolderMissing;
  if (HasOverlongWindowsName(path)) return SaveProblem::NameTooLong;
  target_ = path;
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return SaveProblem::IsFolder;

  const std::wstring folder = FolderOf(target_);
  RemoveStaleTemporaries(folder);
  std::wstring temporary;
  const HANDLE file = CreateTemporary(folder, temporary);
  if (file == INVALID_HANDLE_VALUE) return ProblemFor(GetLastError(), folder);
  DWORD error = ERROR_SUCCESS;
  if (!WriteAll(file, bytes) || !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    return ProblemFor(error, folder);
  }
  temporary_ = std::move(temporary);
  return SaveProblem::None;
}

SaveProblem StagedFile::Commit() {
  if (temporary_.empty()) return SaveProblem::Other;
  if (MoveFileExW(temporary_.c_str(), target_.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    temporary_.clear();
    return SaveProblem::None;
  }
  const DWORD error = GetLastError();
  Discard();
  return ProblemFor(error, FolderOf(target_));
}

void StagedFile::Discard() {
  if (!temporary_.empty()) DeleteFileW(temporary_.c_str());
  temporary_.clear();
}

}  // namespace korvanth

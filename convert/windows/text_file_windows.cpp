#include <windows.h>

#include <string>

#include "convert/text_file.h"

namespace korvanth {

namespace {

SaveOutcome Failed(DWORD error) {
  SaveOutcome outcome;
  outcome.status = Win32Error;
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      outcome.problem = SaveProblem::PermissionDenied;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      outcome.problem = SaveProblem::DiskFull;
      break;
    case ERROR_FILENAME_EXCED_RANGE:
      outcome.problem = SaveProblem::NameTooLong;
      break;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_NAME:
      outcome.problem = SaveProblem::FolderMissing;
      break;
    default:
      outcome.problem = SaveProblem::Other;
      break;
  }
  return outcome;
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                         static_cast<int>(utf8.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), length);
  return wide;
}

}  // namespace

SaveOutcome WriteTextFileWhole(const std::string& path, std::string_view text) {
  const std::wstring target = Widen(path);
  if (target.empty()) return Failed(ERROR_INVALID_NAME);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SaveOutcome outcome = Failed(ERROR_ACCESS_DENIED);
    outcome.problem = SaveProblem::IsFolder;
    return outcome;
  }

  // A temporary name beside the target that no other writer uses at the same time.
  HANDLE file = INVALID_HANDLE_VALUE;
  std::wstring temporary;
  for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
                std::to_wstring(GetTickCount() + attempt) + L".tmp";
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) return Failed(GetLastError());

  DWORD error = ERROR_SUCCESS;
  size_t done = 0;
  while (done < text.size()) {
    const DWORD chunk =
        static_cast<DWORD>(text.size() - done > 0x10000000u ? 0x10000000u : text.size() - done);
    DWORD written = 0;
    if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0) {
      error = GetLastError();
      if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;
      break;
    }
    done += written;
  }
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS && !MoveFileExW(temporary.c_str(), target.c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    return Failed(error);
  }
  return SaveOutcome{};
}

}  // namespace korvanth

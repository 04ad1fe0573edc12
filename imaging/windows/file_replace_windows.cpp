// The staged file's host part on Windows; GetLastError names the cause of any failure.
// Windows has no nameless files, so the bytes go to a temporary in the target's folder that
// is marked for deletion at once: should the process end before Commit, the system removes
// it as its handle closes. Commit takes the mark off and moves the file over the target by
// its handle, so a kill leaves a temporary only between creating and marking it (empty)
// and between those last two calls. Where the mark is refused the bytes wait in memory
// until the file is complete; the next save into the folder removes a temporary a kill
// left.
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

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

// A new file beside the target that this process alone may open, and delete.
HANDLE CreateTemporary(const std::wstring& folder, std::wstring& name) {
  static LONG counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + std::wstring(kTemporaryPrefix.begin(), kTemporaryPrefix.end()) +
           std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter)) + L".tmp";
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Marks `file` to be deleted when its last handle closes, or takes the mark off.
bool MarkForDeletion(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleted ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
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

// `path` in full, as GetFullPathNameW spells it; empty if it cannot.
std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::wstring();
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(size < full.size() ? size : 0);
  return full;
}

// Whether `path` names something in the device namespace: a pipe (\\.\pipe\x), a device
// (\\?\GLOBALROOT\...) or a DOS device such as NUL, CON or COM1, which the full path spells
// \\.\NUL. A drive's files reached through the prefixes (\\?\C:\x, \\?\UNC\...) are files.
bool NamesADevice(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  const std::wstring_view name(full);
  const bool local = name.starts_with(L"\\\\.\\");
  if (!local && !name.starts_with(L"\\\\?\\")) return false;
  const std::wstring_view rest = name.substr(4);
  const bool drive = rest.size() >= 3 && rest[1] == L':' && (rest[2] == L'\\' || rest[2] == L'/');
  return !drive && (local || !rest.starts_with(L"UNC\\"));
}

// Moves the open `file` over `target`, replacing what is there, by its handle: one call
// where closing it and moving it by name take several. The name is the NT one
// (\??\C:\dir\name, \??\UNC\server\share\name), which both Windows and Wine take.
bool MoveOver(HANDLE file, const std::wstring& target) {
  const std::wstring full = FullPath(target);
  if (full.empty()) return false;
  const std::wstring_view name(full);
  std::wstring nt = L"\\??\\";
  if (name.starts_with(L"\\\\?\\") || name.starts_with(L"\\\\.\\"))
    nt += name.substr(4);
  else if (name.starts_with(L"\\\\"))
    nt.append(L"UNC\\").append(name.substr(2));
  else
    nt += name;
  const std::size_t bytes = nt.size() * sizeof(wchar_t);
  std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + bytes);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(bytes);
  std::memcpy(rename->FileName, nt.data(), bytes);
  return SetFileInformationByHandle(file, FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()));
}

// The path the open `file` has on its volume, or empty.
std::wstring FinalPath(HANDLE file) {
  const DWORD size = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
  if (size == 0) return std::wstring();
  std::wstring path(size, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file, path.data(), size, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= size) return std::wstring();
  path.resize(length);
  return path;
}

// Whether a save may put a file at `target`: None when nothing is there or a regular file
// is, otherwise why not. A link to a regular file stays a link: `target` becomes the path
// of the file itself (which is also how Wine shows a Unix link).
SaveProblem JudgeTarget(std::wstring& target) {
  if (NamesADevice(target)) return SaveProblem::NotRegularFile;
  // Wine has no attributes for a Unix FIFO or socket (ERROR_INVALID_PARAMETER); it opens
  // the FIFO, not the socket.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const DWORD attributesError = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
  const bool reparsed =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  // Opening for its attributes alone follows links and reaches whatever is there, with no
  // effect on a device.
  const HANDLE found = CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (found == INVALID_HANDLE_VALUE) {
    // Nothing there (a link that names nothing is replaced, as on other hosts), or nothing
    // this process may look at: the move answers. A reparse point that cannot be followed
    // is no file.
    const DWORD error = GetLastError();
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return attributesError == ERROR_INVALID_PARAMETER ? SaveProblem::NotRegularFile
                                                        : SaveProblem::None;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return SaveProblem::IsFolder;
    const bool dangling = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return reparsed && !dangling ? SaveProblem::NotRegularFile : SaveProblem::None;
  }
  SaveProblem problem = SaveProblem::None;
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(found) != FILE_TYPE_DISK) {
    problem = SaveProblem::NotRegularFile;
  } else if (GetFileInformationByHandle(found, &information) &&
             (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    problem = SaveProblem::IsFolder;
  } else if (std::wstring named = FinalPath(found); !named.empty()) {
    target = std::move(named);  // the file itself, however it was reached
  }
  CloseHandle(found);
  return problem;
}

}  // namespace

SaveProblem StagedFile::OpenBeside(const WCHAR* path) {
  if (HasOverlongWindowsName(path)) return SaveProblem::NameTooLong;
  target_ = path;
  if (const SaveProblem judged = JudgeTarget(target_); judged != SaveProblem::None) return judged;
  RemoveStaleTemporaries(FolderOf(target_));
  if (const SaveProblem named = OpenNamed(); named != SaveProblem::None) return named;
  if (MarkForDeletion(file_, true)) {
    vanishes_ = true;
    return SaveProblem::None;
  }
  // A file system without the mark: the bytes wait in memory for a named temporary.
  Release();
  return SaveProblem::None;
}

SaveProblem StagedFile::OpenNamed() {
  const std::wstring folder = FolderOf(target_);
  file_ = CreateTemporary(folder, temporary_);
  if (file_ != INVALID_HANDLE_VALUE) return SaveProblem::None;
  const DWORD error = GetLastError();
  temporary_.clear();
  return ProblemFor(error, folder);
}

SaveProblem StagedFile::WriteOut(std::span<const std::uint8_t> bytes) {
  return WriteAll(file_, bytes) ? SaveProblem::None : ProblemFor(GetLastError(), FolderOf(target_));
}

SaveProblem StagedFile::FlushOut() {
  // The handle stays open until Commit: a marked file lives only as long as it does.
  return FlushFileBuffers(file_) ? SaveProblem::None
                                 : ProblemFor(GetLastError(), FolderOf(target_));
}

SaveProblem StagedFile::Commit() {
  if (state_ != State::Finished) return Unusable();
  // The target may have changed since Begin.
  if (const SaveProblem judged = JudgeTarget(target_); judged != SaveProblem::None)
    return Fail(judged);
  if (vanishes_ && !MarkForDeletion(file_, false))
    return Fail(ProblemFor(GetLastError(), FolderOf(target_)));
  vanishes_ = false;
  // A kill between the two calls leaves the complete temporary.
  if (!MoveOver(file_, target_)) return Fail(ProblemFor(GetLastError(), FolderOf(target_)));
  temporary_.clear();
  CloseHandle(file_);  // flushed at Finish
  file_ = NoFile();
  state_ = State::Empty;
  return SaveProblem::None;
}

void StagedFile::Release() {
  // A marked file goes as its handle closes; an unmarked one is deleted by name.
  if (file_ != NoFile()) CloseHandle(file_);
  file_ = NoFile();
  if (!temporary_.empty() && !vanishes_) DeleteFileW(temporary_.c_str());
  vanishes_ = false;
  temporary_.clear();
}

}  // namespace korvanth

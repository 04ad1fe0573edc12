// Opens an input as a regular file only, without waiting; folders, FIFOs, devices refused.
#include "imaging/input_file.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvanth::imaging {

namespace {

OpenedInput Refused(InputProblem problem, int error = 0) { return {nullptr, problem, error}; }

OpenedInput RefusedByErrno(int error) {
  if (error == ENOENT || error == ENOTDIR) return Refused(InputProblem::Missing, error);
  if (error == EACCES || error == EPERM) return Refused(InputProblem::PermissionDenied, error);
  if (error == EISDIR) return Refused(InputProblem::IsFolder, error);
  // A socket refuses to be opened; a FIFO or a device the caller never opens.
  if (error == ENXIO || error == ENODEV) return Refused(InputProblem::NotRegular, error);
  return Refused(InputProblem::Other, error);
}

#ifndef _WIN32
// What a file's mode says it is, before and after opening: a swap between the two checks
// is caught by the second.
InputProblem KindProblem(mode_t mode) {
  if (S_ISDIR(mode)) return InputProblem::IsFolder;
  if (!S_ISREG(mode)) return InputProblem::NotRegular;
  return InputProblem::None;
}
#else
InputProblem KindProblem(unsigned short mode) {
  if ((mode & _S_IFMT) == _S_IFDIR) return InputProblem::IsFolder;
  if ((mode & _S_IFMT) != _S_IFREG) return InputProblem::NotRegular;
  return InputProblem::None;
}

// Opens the checked name as a C stream; a handle that is not a file on a disk (a console,
// a pipe, the NUL device) is refused.
OpenedInput OpenHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
      return Refused(InputProblem::Missing, ENOENT);
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
      return Refused(InputProblem::PermissionDenied, EACCES);
    return Refused(InputProblem::Other, EIO);
  }
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return Refused(InputProblem::NotRegular);
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return Refused(InputProblem::Other, EMFILE);
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) {
    _close(fd);
    return Refused(InputProblem::Other, EMFILE);
  }
  return {file, InputProblem::None, 0};
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;
#endif

}  // namespace

#ifndef _WIN32
OpenedInput OpenInputFile(const char* native) {
  if (native == nullptr || *native == 0) return Refused(InputProblem::Missing, ENOENT);
  struct stat named {};
  if (::stat(native, &named) != 0) return RefusedByErrno(errno);
  if (const InputProblem kind = KindProblem(named.st_mode); kind != InputProblem::None)
    return Refused(kind);
  // O_NONBLOCK: should a FIFO have taken the name since, opening it does not wait for a
  // writer; O_NOCTTY: a terminal never becomes the controlling one.
  const int fd = ::open(native, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return RefusedByErrno(errno);
  struct stat opened {};
  InputProblem kind = InputProblem::Other;
  if (::fstat(fd, &opened) == 0) kind = KindProblem(opened.st_mode);
  const int flags = ::fcntl(fd, F_GETFL);
  if (kind == InputProblem::None && (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0))
    kind = InputProblem::Other;
  std::FILE* file = kind == InputProblem::None ? ::fdopen(fd, "rb") : nullptr;
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    return Refused(kind == InputProblem::None ? InputProblem::Other : kind, error);
  }
  return {file, InputProblem::None, 0};
}
#else
namespace {

// The one way for both spellings of a name: _stat64 / _wstat64 first, then CreateFile.
template <typename Char, typename Stat, typename Create>
OpenedInput OpenChecked(const Char* name, Stat stat, Create create) {
  if (name == nullptr || *name == 0) return Refused(InputProblem::Missing, ENOENT);
  struct _stat64 named {};
  if (stat(name, &named) != 0) return RefusedByErrno(errno);
  if (const InputProblem kind = KindProblem(named.st_mode); kind != InputProblem::None)
    return Refused(kind);
  return OpenHandle(create(name, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

OpenedInput OpenInputFile(const char* native) {
  return OpenChecked(native, ::_stat64, CreateFileA);
}

OpenedInput OpenInputFile(const wchar_t* name) {
  return OpenChecked(name, ::_wstat64, CreateFileW);
}
#endif

UiText InputProblemCause(InputProblem problem) {
  switch (problem) {
    case InputProblem::None:
      return {"", ""};
    case InputProblem::Missing:
      return {"ファイルがありません", "no such file"};
    case InputProblem::PermissionDenied:
      return {"アクセスが拒否されました", "permission denied"};
    case InputProblem::IsFolder:
      return {"フォルダーです", "is a folder"};
    case InputProblem::NotRegular:
      return {"通常のファイルではありません", "is not a regular file"};
    case InputProblem::Other:
      break;
  }
  return {"開けません", "cannot be opened"};
}

const char* InputProblemText(InputProblem problem) { return InputProblemCause(problem).english; }

}  // namespace korvanth::imaging

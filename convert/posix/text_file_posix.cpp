#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "convert/text_file.h"

namespace korvanth {

namespace {

SaveOutcome Failed(int error) {
  SaveOutcome outcome;
  outcome.status = Win32Error;
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      outcome.problem = SaveProblem::PermissionDenied;
      break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      outcome.problem = SaveProblem::DiskFull;
      break;
    case ENAMETOOLONG:
      outcome.problem = SaveProblem::NameTooLong;
      break;
    case ENOENT:
    case ENOTDIR:
      outcome.problem = SaveProblem::FolderMissing;
      break;
    case EISDIR:
      outcome.problem = SaveProblem::IsFolder;
      break;
    default:
      outcome.problem = SaveProblem::Other;
      break;
  }
  return outcome;
}

// The permissions a newly created file gets under the process's umask.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

SaveOutcome WriteTextFileWhole(const std::string& path, std::string_view text) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return Failed(EISDIR);

  // The temporary file: ".NAME.XXXXXX" in the target's folder, so the rename stays on
  // one file system.
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folder + "." + name + ".XXXXXX";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return Failed(errno);

  int error = 0;
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    written += static_cast<size_t>(n);
  }
  if (error == 0 && fchmod(fd, NewFileMode()) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.data(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.data());
    return Failed(error);
  }
  return SaveOutcome{};
}

}  // namespace korvanth

// Whole-or-nothing file writes with POSIX calls, so a failure carries its errno: the bytes
// go to a new file in the target's folder, are flushed to the disk, and the file is then
// renamed over the target.
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "imaging/save_file.h"

namespace korvanth {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

// A new file beside the target, created with the usual permissions (0666 less the umask).
int CreateTemporary(const std::string& folder, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char leaf[64];
    std::snprintf(leaf, sizeof leaf, ".korvanth-%ld-%u.tmp", static_cast<long>(::getpid()),
                  counter.fetch_add(1));
    name = folder + leaf;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

SaveProblem ReplaceFileWith(const WCHAR* path, const std::vector<std::uint8_t>& bytes) {
  if (path == nullptr || *path == 0) return SaveProblem::FolderMissing;
  const QByteArray native = QFile::encodeName(QString::fromUtf16(path));
  std::string target(native.constData(), static_cast<std::size_t>(native.size()));
  // A symbolic link stays a link: the file it names is the one replaced.
  struct stat link {};
  if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* resolved = ::realpath(target.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return SaveProblem::IsFolder;

  std::string temporary;
  const int fd = CreateTemporary(FolderOf(target), temporary);
  if (fd < 0) return SaveProblemFromErrno(errno);

  int error = 0;
  // An existing file keeps its permissions.
  if (exists && ::fchmod(fd, old.st_mode & 07777) != 0 && errno != EPERM) error = errno;
  if (error == 0 && !WriteAll(fd, bytes.data(), bytes.size())) error = errno;
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    const SaveProblem problem = SaveProblemFromErrno(error);
    return problem == SaveProblem::None ? SaveProblem::Other : problem;
  }
  return SaveProblem::None;
}

}  // namespace korvanth

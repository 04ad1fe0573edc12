// Whole-or-nothing file writes with POSIX calls, so a failure carries its errno. The bytes
// go to a nameless file (O_TMPFILE) in the target's folder, are flushed to the disk, and
// only then get a name: the target's own when it does not exist yet, otherwise a
// temporary one that is renamed over the target. A save killed on the way leaves nothing.
// File systems without nameless files get a named temporary from the start.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "imaging/portable/native_path.h"
#include "imaging/save_file.h"
#include "imaging/staged_file.h"
#include "imaging/stale_temporaries.h"

namespace korvanth {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

std::string TemporaryName(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  char leaf[64];
  std::snprintf(leaf, sizeof leaf, "%.*s%ld-%u.tmp", static_cast<int>(kTemporaryPrefix.size()),
                kTemporaryPrefix.data(), static_cast<long>(::getpid()), counter.fetch_add(1));
  return folder + leaf;
}

// A new named file beside the target, created with the usual permissions (0666 less the
// umask).
int CreateTemporary(const std::string& folder, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryName(folder);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// A file without a name in `folder`, with the same permissions as a named one.
int CreateNameless(const std::string& folder) {
  return ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// The kernel or the file system has no nameless files (EISDIR from kernels before them).
bool RefusesNameless(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Gives the nameless file `fd` the name `name`; 0 or the errno.
int LinkNameless(int fd, const std::string& name) {
  char self[32];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  if (::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int error = errno;
  // Without /proc the descriptor itself is linked (which may need privileges).
  if (error != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return error;
  return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Names the complete nameless file: straight as `target` when that does not exist, else
// under a temporary name (returned in `temporary`) to be renamed over it. 0 or the errno.
int NameNameless(int fd, const std::string& target, bool exists, std::string& temporary) {
  if (!exists) {
    const int error = LinkNameless(fd, target);
    if (error != EEXIST) return error;  // EEXIST: the target appeared meanwhile
  }
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryName(folder);
    const int error = LinkNameless(fd, name);
    if (error == 0) temporary = name;
    if (error != EEXIST) return error;
  }
  return EEXIST;
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

// The cause of a failed save into `folder`: a missing folder turns out a file in the way
// when a part of the folder's path is a file (stat then answers ENOTDIR).
SaveProblem ProblemFor(int error, const std::string& folder) {
  const SaveProblem problem = SaveProblemFromErrno(error);
  struct stat part {};
  if (problem == SaveProblem::FolderMissing && !folder.empty() &&
      ::stat(folder.c_str(), &part) != 0 && errno == ENOTDIR)
    return SaveProblem::FileInTheWay;
  return problem == SaveProblem::None ? SaveProblem::Other : problem;
}

// The target a save replaces: a symbolic link stays a link, the file it names is replaced.
std::string ResolvedTarget(const WCHAR* path) {
  std::string target = imaging::NativePath(path);
  struct stat link {};
  if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* resolved = ::realpath(target.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  return target;
}

// Writes `bytes` whole into a new file beside the target of `path` and flushes it: nameless
// while written, so a kill leaves nothing, then named the target itself when `mayTakeTarget`
// and no target exists, otherwise under a temporary name (returned in `temporary`) for the
// caller to move over the target. On failure nothing new is left.
SaveProblem WriteBeside(const WCHAR* path, const std::vector<std::uint8_t>& bytes,
                        bool mayTakeTarget, std::string& target, std::string& temporary) {
  temporary.clear();
  if (path == nullptr || *path == 0) return SaveProblem::FolderMissing;
  target = ResolvedTarget(path);

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return SaveProblem::IsFolder;

  const std::string folder = FolderOf(target);
  RemoveStaleTemporaries(folder);
  int fd = CreateNameless(folder);
  const bool nameless = fd >= 0;
  if (!nameless && RefusesNameless(errno)) fd = CreateTemporary(folder, temporary);
  if (fd < 0) return ProblemFor(errno, folder);

  int error = 0;
  // An existing file keeps its permissions.
  if (exists && ::fchmod(fd, old.st_mode & 07777) != 0 && errno != EPERM) error = errno;
  if (error == 0 && !WriteAll(fd, bytes.data(), bytes.size())) error = errno;
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (error == 0 && nameless) error = NameNameless(fd, target, exists || !mayTakeTarget, temporary);
  const bool linkedAsTarget = nameless && error == 0 && temporary.empty();
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    if (!temporary.empty()) ::unlink(temporary.c_str());
    temporary.clear();
    if (linkedAsTarget) ::unlink(target.c_str());  // it did not exist before this save
    return ProblemFor(error, folder);
  }
  return SaveProblem::None;
}

}  // namespace

SaveProblem ReplaceFileWith(const WCHAR* path, const std::vector<std::uint8_t>& bytes) {
  std::string target, temporary;
  const SaveProblem written = WriteBeside(path, bytes, /*mayTakeTarget=*/true, target, temporary);
  if (written != SaveProblem::None || temporary.empty()) return written;
  if (::rename(temporary.c_str(), target.c_str()) == 0) return SaveProblem::None;
  const int error = errno;
  ::unlink(temporary.c_str());
  return ProblemFor(error, FolderOf(target));
}

SaveProblem StagedFile::Stage(const WCHAR* path, const std::vector<std::uint8_t>& bytes) {
  Discard();
  // A temporary name, never the target's, until Commit.
  std::string temporary;
  const SaveProblem written = WriteBeside(path, bytes, /*mayTakeTarget=*/false, target_, temporary);
  if (written == SaveProblem::None) temporary_ = std::move(temporary);
  return written;
}

SaveProblem StagedFile::Commit() {
  if (temporary_.empty()) return SaveProblem::Other;
  if (::rename(temporary_.c_str(), target_.c_str()) == 0) {
    temporary_.clear();
    return SaveProblem::None;
  }
  const int error = errno;
  Discard();
  return ProblemFor(error, FolderOf(target_));
}

void StagedFile::Discard() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace korvanth

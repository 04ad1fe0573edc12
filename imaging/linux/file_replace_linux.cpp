// The staged file's host part with POSIX calls, so a failure carries its errno. The bytes go
// to a nameless file (O_TMPFILE) in the target's folder and are flushed to the disk; the file
// stays nameless, its descriptor open, until Commit gives it a name: the target's own when
// none exists, otherwise a temporary one that is renamed over the target at once. A kill
// before Commit leaves nothing; a named temporary exists only between those two calls.
// File systems without nameless files get a named temporary when the bytes are complete.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "imaging/linux/native_path.h"
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

// Gives the nameless file `fd` a temporary name in `folder` (returned in `name`); 0 or the
// errno.
int LinkAsTemporary(int fd, const std::string& folder, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = TemporaryName(folder);
    const int error = LinkNameless(fd, candidate);
    if (error == 0) name = candidate;
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

// The file a save replaces: a symbolic link stays a link and the file it names, which may
// not exist yet, is written instead, through as many links as the system itself follows.
std::string ResolvedTarget(const WCHAR* path) {
  std::string target = imaging::NativePath(path);
  for (int hop = 0; hop < 40; ++hop) {
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) break;
    char named[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), named, sizeof named);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof named) break;
    // A relative link is relative to the folder that holds it.
    target = (named[0] == '/' ? std::string() : FolderOf(target)) +
             std::string(named, static_cast<std::size_t>(length));
  }
  return target;
}

// Whether a save may put a file at the resolved `target`: None when nothing is there or a
// regular file is (then `found` describes it and `exists` is set), otherwise why not (a
// loop of links, a folder that may not be looked into, ... as the system says).
SaveProblem JudgeTarget(const std::string& target, struct stat& found, bool& exists) {
  exists = ::stat(target.c_str(), &found) == 0;
  if (!exists) {
    const int error = errno;
    return error == ENOENT ? SaveProblem::None : ProblemFor(error, FolderOf(target));
  }
  if (S_ISREG(found.st_mode)) return SaveProblem::None;
  return S_ISDIR(found.st_mode) ? SaveProblem::IsFolder : SaveProblem::NotRegularFile;
}

// Gives the new file the permissions of the file it replaces (`mode`, or -1 for none: then
// it keeps 0666 less the umask); 0 or the errno. A file of another owner's keeps ours.
int KeepMode(int fd, int mode) {
  if (mode < 0 || ::fchmod(fd, static_cast<mode_t>(mode)) == 0 || errno == EPERM) return 0;
  return errno;
}

}  // namespace

SaveProblem StagedFile::OpenBeside(const WCHAR* path) {
  target_ = ResolvedTarget(path);
  struct stat old {};
  bool exists = false;
  if (const SaveProblem judged = JudgeTarget(target_, old, exists); judged != SaveProblem::None)
    return judged;
  mode_ = exists ? static_cast<int>(old.st_mode & 07777) : -1;
  const std::string folder = FolderOf(target_);
  RemoveStaleTemporaries(folder);
  file_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (file_ < 0) {
    const int error = errno;
    file_ = NoFile();
    // Without nameless files the bytes wait for a named temporary (OpenNamed).
    return RefusesNameless(error) ? SaveProblem::None : ProblemFor(error, folder);
  }
  vanishes_ = true;
  const int error = KeepMode(file_, mode_);
  return error == 0 ? SaveProblem::None : ProblemFor(error, folder);
}

SaveProblem StagedFile::OpenNamed() {
  const std::string folder = FolderOf(target_);
  file_ = CreateTemporary(folder, temporary_);
  if (file_ < 0) {
    const int error = errno;
    file_ = NoFile();
    temporary_.clear();
    return ProblemFor(error, folder);
  }
  const int error = KeepMode(file_, mode_);
  return error == 0 ? SaveProblem::None : ProblemFor(error, folder);
}

SaveProblem StagedFile::WriteOut(std::span<const std::uint8_t> bytes) {
  return WriteAll(file_, bytes.data(), bytes.size()) ? SaveProblem::None
                                                     : ProblemFor(errno, FolderOf(target_));
}

SaveProblem StagedFile::FlushOut() {
  int error = ::fsync(file_) != 0 && errno != EINVAL ? errno : 0;
  // A named temporary needs no descriptor any more; a nameless file keeps its own, which is
  // all that holds it until Commit. Some file systems report a failed write only at close.
  if (!vanishes_) {
    if (::close(file_) != 0 && error == 0) error = errno;
    file_ = NoFile();
  }
  return error == 0 ? SaveProblem::None : ProblemFor(error, FolderOf(target_));
}

SaveProblem StagedFile::Commit() {
  if (state_ != State::Finished) return Unusable();
  // The target may have changed since Begin.
  struct stat found {};
  bool exists = false;
  if (const SaveProblem judged = JudgeTarget(target_, found, exists); judged != SaveProblem::None)
    return Fail(judged);
  const std::string folder = FolderOf(target_);
  // A nameless file takes the target's name when there is none.
  int error = vanishes_ && !exists ? LinkNameless(file_, target_) : EEXIST;
  if (error == EEXIST) {  // a file to replace (or one that appeared meanwhile)
    replaced_ = ::open(target_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // A nameless file is named for the instant until the rename.
    error = vanishes_ ? LinkAsTemporary(file_, folder, temporary_) : 0;
    if (error == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) error = errno;
  }
  if (error != 0) return Fail(ProblemFor(error, folder));
  temporary_.clear();                     // it is the target now
  if (file_ != NoFile()) ::close(file_);  // flushed at Finish
  file_ = NoFile();
  vanishes_ = false;
  state_ = State::Empty;
  return SaveProblem::None;
}

void StagedFile::Release() {
  for (int* const held : {&file_, &replaced_}) {
    if (*held != NoFile()) ::close(*held);
    *held = NoFile();
  }
  vanishes_ = false;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace korvanth

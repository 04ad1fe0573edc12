// POSIX: removes a folder's leftover save temporaries once the process that made them is gone.
#include "imaging/stale_temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <set>

namespace korvanth {

namespace {

// Only "no such process" means gone: EPERM is a live process of another user.
bool ProcessIsGone(std::uint32_t pid) {
  if (pid == 0 || pid > static_cast<std::uint32_t>(INT_MAX)) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool FirstVisit(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> visited;
  const std::lock_guard<std::mutex> lock(mutex);
  return visited.insert(folder).second;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder) {
  if (!FirstVisit(folder)) return;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  const int dirFd = ::dirfd(dir);
  const auto self = static_cast<std::uint32_t>(::getpid());
  while (const dirent* entry = ::readdir(dir)) {
    const std::optional<std::uint32_t> owner = TemporaryOwner(std::string_view(entry->d_name));
    if (!owner || *owner == self || !ProcessIsGone(*owner)) continue;
    struct stat file {};
    if (::fstatat(dirFd, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(file.st_mode))
      continue;
    ::unlinkat(dirFd, entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace korvanth

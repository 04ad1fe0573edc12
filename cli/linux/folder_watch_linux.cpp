// The folder watch on Linux: inotify on each folder, and a pipe the signal handler writes
// to, both waited on in one poll() that has no timeout unless the caller gives one.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "cli/folder_watch.h"
#include "cli/watched_folders.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace {

// The write end of the stop pipe, for the signal handler; one watch is open at a time.
volatile sig_atomic_t gStopPipe = -1;

void RequestStop(int) {
  const int savedErrno = errno;
  const char byte = 1;
  if (gStopPipe >= 0) (void)!write(gStopPipe, &byte, 1);
  errno = savedErrno;
}

constexpr uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                   IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                   IN_ONLYDIR;

class InotifyWatch final : public FolderWatch {
 public:
  ~InotifyWatch() override {
    if (handling_) {
      sigaction(SIGINT, &previous_[0], nullptr);
      sigaction(SIGTERM, &previous_[1], nullptr);
      gStopPipe = -1;
    }
    for (int fd : {inotify_, stopRead_, stopWrite_})
      if (fd >= 0) close(fd);
  }

  // Sets problem_ and returns false when something cannot be watched.
  bool Open(const WatchedFolders& folders) {
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    int pipeEnds[2];
    if (inotify_ < 0 || pipe2(pipeEnds, O_NONBLOCK | O_CLOEXEC) != 0) {
      problem_ = std::string("cannot watch files: ") + std::strerror(errno);
      return false;
    }
    stopRead_ = pipeEnds[0];
    stopWrite_ = pipeEnds[1];
    for (const WatchedFolder& folder : folders.folders) {
      const int wd = inotify_add_watch(inotify_, folder.folder.c_str(), kFolderEvents);
      if (wd < 0) {
        problem_ =
            PrintableName(folder.folder) + ": cannot watch the folder: " + std::strerror(errno);
        return false;
      }
      folders_[wd] = folder;
    }
    gStopPipe = stopWrite_;
    struct sigaction action {};
    action.sa_handler = RequestStop;
    action.sa_flags = SA_RESTART;  // the conversion's own calls carry on undisturbed
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_[0]);
    sigaction(SIGTERM, &action, &previous_[1]);
    // A shell without job control starts background commands with SIGINT ignored, so that
    // Ctrl+C meant for the foreground does not end them; that stays so.
    if (previous_[0].sa_handler == SIG_IGN) sigaction(SIGINT, &previous_[0], nullptr);
    handling_ = true;
    return true;
  }

  WatchEvent Wait(std::optional<std::chrono::milliseconds> timeout) override {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + timeout.value_or(std::chrono::milliseconds::zero());
    for (;;) {
      int waitMs = -1;
      if (timeout) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        waitMs = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
      }
      pollfd waits[2] = {{stopRead_, POLLIN, 0}, {inotify_, POLLIN, 0}};
      const int ready = poll(waits, 2, waitMs);
      if (ready < 0 && errno != EINTR) {
        problem_ = std::string("cannot wait for changes: ") + std::strerror(errno);
        return WatchEvent::Lost;
      }
      if (waits[0].revents != 0) return WatchEvent::Stop;
      if (ready > 0 && waits[1].revents != 0) {
        const WatchEvent event = ReadEvents();
        if (event != WatchEvent::Quiet) return event;
      }
      if (ready == 0) return WatchEvent::Quiet;
    }
  }

 private:
  // Drains the queue: Changed when a watched name was touched, Quiet when only other names.
  WatchEvent ReadEvents() {
    WatchEvent result = WatchEvent::Quiet;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      const ssize_t length = read(inotify_, buffer, sizeof buffer);
      if (length <= 0) break;  // EAGAIN: the queue is empty
      const std::size_t end = static_cast<std::size_t>(length);
      for (std::size_t at = 0; end - at >= sizeof(inotify_event);) {
        inotify_event event;
        std::memcpy(&event, buffer + at, sizeof event);
        if (event.len > end - at - sizeof event) break;  // the kernel writes whole records
        const char* name = buffer + at + sizeof event;
        at += sizeof event + event.len;
        if (event.mask & IN_Q_OVERFLOW) {
          result = WatchEvent::Changed;  // events were dropped: any of them may be ours
          continue;
        }
        const auto folder = folders_.find(event.wd);
        if (folder == folders_.end()) continue;
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
          problem_ =
              PrintableName(folder->second.folder) + ": the watched folder was removed or moved";
          return WatchEvent::Lost;
        }
        if (event.len == 0) continue;
        const std::string changed(name, strnlen(name, event.len));
        const std::vector<std::string>& names = folder->second.names;
        if (std::find(names.begin(), names.end(), changed) != names.end())
          result = WatchEvent::Changed;
      }
    }
    return result;
  }

  int inotify_ = -1;
  int stopRead_ = -1;
  int stopWrite_ = -1;
  std::map<int, WatchedFolder> folders_;  // by watch descriptor
  struct sigaction previous_[2] = {};     // SIGINT's and SIGTERM's handlers before the watch
  bool handling_ = false;                 // the watch's handler is installed
};

}  // namespace

FolderWatchOpening OpenFolderWatch(const std::vector<std::string>& files) {
  const WatchedFolders folders = GroupByFolder(files);
  if (!folders.error.empty()) return {nullptr, folders.error};
  auto watch = std::make_unique<InotifyWatch>();
  if (!watch->Open(folders)) return {nullptr, watch->problem()};
  return {std::move(watch), {}};
}

}  // namespace korvanth

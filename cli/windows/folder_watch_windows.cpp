// The folder watch on Windows: an overlapped ReadDirectoryChangesW on each folder, waited
// on together with an event that the console's Ctrl+C and Ctrl+Break handler sets.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "cli/folder_watch.h"
#include "cli/watched_folders.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace {

// Set by the console handler; one watch is open at a time.
HANDLE gStopEvent = nullptr;

BOOL WINAPI RequestStop(DWORD signal) {
  if (signal != CTRL_C_EVENT && signal != CTRL_BREAK_EVENT && signal != CTRL_CLOSE_EVENT)
    return FALSE;
  if (gStopEvent != nullptr) SetEvent(gStopEvent);
  return TRUE;
}

constexpr DWORD kFolderChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                 FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION |
                                 FILE_NOTIFY_CHANGE_ATTRIBUTES;

std::string SystemReason(DWORD code) { return "system error " + std::to_string(code); }

struct FolderReader {
  WatchedFolder watched;
  std::vector<std::vector<WCHAR>> names;  // the watched names in UTF-16, without terminator
  HANDLE folder = INVALID_HANDLE_VALUE;
  HANDLE done = nullptr;  // the overlapped read's event
  OVERLAPPED overlapped{};
  std::vector<DWORD> buffer = std::vector<DWORD>(8192);  // DWORD-aligned, as the call needs
  bool pending = false;

  bool Start() {
    overlapped = {};
    overlapped.hEvent = done;
    pending = ReadDirectoryChangesW(folder, buffer.data(),
                                    static_cast<DWORD>(buffer.size() * sizeof(DWORD)), FALSE,
                                    kFolderChanges, nullptr, &overlapped, nullptr) != 0;
    return pending;
  }

  bool Watches(const WCHAR* name, DWORD bytes) const {
    const int length = static_cast<int>(bytes / sizeof(WCHAR));
    return std::any_of(names.begin(), names.end(), [&](const std::vector<WCHAR>& own) {
      return CompareStringOrdinal(name, length, own.data(), static_cast<int>(own.size()), TRUE) ==
             CSTR_EQUAL;
    });
  }

  // The finished read's records: Changed when a watched name is among them (or when the
  // buffer overflowed and the records were lost), Quiet otherwise.
  WatchEvent Collect(DWORD bytes) const {
    if (bytes == 0) return WatchEvent::Changed;
    const auto* base = reinterpret_cast<const std::uint8_t*>(buffer.data());
    for (DWORD at = 0; at + sizeof(FILE_NOTIFY_INFORMATION) <= bytes;) {
      const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + at);
      if (at + offsetof(FILE_NOTIFY_INFORMATION, FileName) + record->FileNameLength <= bytes &&
          Watches(record->FileName, record->FileNameLength))
        return WatchEvent::Changed;
      if (record->NextEntryOffset == 0) break;
      at += record->NextEntryOffset;
    }
    return WatchEvent::Quiet;
  }

  ~FolderReader() {
    if (pending) {
      CancelIoEx(folder, &overlapped);
      DWORD ignored = 0;
      GetOverlappedResult(folder, &overlapped, &ignored, TRUE);
    }
    if (folder != INVALID_HANDLE_VALUE) CloseHandle(folder);
    if (done != nullptr) CloseHandle(done);
  }
};

class DirectoryChangesWatch final : public FolderWatch {
 public:
  ~DirectoryChangesWatch() override {
    if (handling_) SetConsoleCtrlHandler(RequestStop, FALSE);
    readers_.clear();
    if (gStopEvent != nullptr) CloseHandle(gStopEvent);
    gStopEvent = nullptr;
  }

  bool Open(const WatchedFolders& folders) {
    gStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (gStopEvent == nullptr) {
      problem_ = "cannot watch files: " + SystemReason(GetLastError());
      return false;
    }
    for (const WatchedFolder& watched : folders.folders) {
      auto& reader = readers_.emplace_back(std::make_unique<FolderReader>());
      reader->watched = watched;
      for (const std::string& name : watched.names) {
        std::optional<std::vector<WCHAR>> wide = WidenUtf8(name);
        if (!wide) wide.emplace(1, L'\0');
        wide->pop_back();
        reader->names.push_back(std::move(*wide));
      }
      const std::optional<std::vector<WCHAR>> folder = WidenUtf8(watched.folder);
      if (folder)
        reader->folder =
            CreateFileW(folder->data(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
      reader->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (reader->folder == INVALID_HANDLE_VALUE || reader->done == nullptr || !reader->Start()) {
        problem_ = PrintableName(watched.folder) +
                   ": cannot watch the folder: " + SystemReason(GetLastError());
        return false;
      }
    }
    handling_ = SetConsoleCtrlHandler(RequestStop, TRUE) != 0;
    return true;
  }

  WatchEvent Wait(std::optional<std::chrono::milliseconds> timeout) override {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + timeout.value_or(std::chrono::milliseconds::zero());
    std::vector<HANDLE> handles{gStopEvent};
    for (const auto& reader : readers_) handles.push_back(reader->done);
    for (;;) {
      DWORD waitMs = INFINITE;
      if (timeout) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        waitMs = static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
      }
      const DWORD woken =
          WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, waitMs);
      if (woken == WAIT_TIMEOUT) return WatchEvent::Quiet;
      if (woken == WAIT_OBJECT_0) return WatchEvent::Stop;
      const DWORD index = woken - WAIT_OBJECT_0 - 1;
      if (woken < WAIT_OBJECT_0 + 1 || index >= readers_.size()) {
        problem_ = "cannot wait for changes: " + SystemReason(GetLastError());
        return WatchEvent::Lost;
      }
      FolderReader& reader = *readers_[index];
      DWORD bytes = 0;
      reader.pending = false;
      const bool read = GetOverlappedResult(reader.folder, &reader.overlapped, &bytes, FALSE);
      const DWORD failure = read ? ERROR_SUCCESS : GetLastError();
      ResetEvent(reader.done);
      // A read that failed for lack of room still means changes: treat it as an overflow.
      const WatchEvent event = read || failure == ERROR_NOTIFY_ENUM_DIR
                                   ? reader.Collect(read ? bytes : 0)
                                   : WatchEvent::Lost;
      if (event == WatchEvent::Lost || !reader.Start()) {
        problem_ =
            PrintableName(reader.watched.folder) + ": the watched folder was removed or moved";
        return WatchEvent::Lost;
      }
      if (event == WatchEvent::Changed) return event;
    }
  }

 private:
  std::vector<std::unique_ptr<FolderReader>> readers_;
  bool handling_ = false;
};

}  // namespace

FolderWatchOpening OpenFolderWatch(const std::vector<std::string>& files) {
  const WatchedFolders folders = GroupByFolder(files);
  if (!folders.error.empty()) return {nullptr, folders.error};
  auto watch = std::make_unique<DirectoryChangesWatch>();
  if (!watch->Open(folders)) return {nullptr, watch->problem()};
  return {std::move(watch), {}};
}

}  // namespace korvanth

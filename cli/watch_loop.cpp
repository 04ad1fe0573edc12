// --watch: converts, waits for a watched file to change and settle, converts again.
#include "cli/watch_loop.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "cli/convert_jobs.h"
#include "cli/folder_watch.h"
#include "cli/scratch_stream.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace fs = std::filesystem;

namespace {

// Editors write a picture in several calls, some close and reopen it; a file that has had
// no change for this long is taken as saved.
constexpr std::chrono::milliseconds kSettleTime{200};

struct FileStamp {
  bool exists = false;
  std::uintmax_t size = 0;
  fs::file_time_type written{};
  bool operator==(const FileStamp&) const = default;
};

std::vector<FileStamp> StampsOf(const std::vector<std::string>& files) {
  std::vector<FileStamp> stamps;
  for (const std::string& file : files) {
    const fs::path path = PathFromUtf8(file);
    std::error_code sizeError;
    std::error_code timeError;
    FileStamp stamp;
    stamp.size = fs::file_size(path, sizeError);
    stamp.written = fs::last_write_time(path, timeError);
    stamp.exists = !sizeError && !timeError;
    if (!stamp.exists) stamp = {};
    stamps.push_back(stamp);
  }
  return stamps;
}

// After a change: waits for a quiet spell over which the files' sizes and times held still.
// Returns Changed once they have settled, or the Stop or Lost that came first.
WatchEvent Settle(FolderWatch& watch, const std::vector<std::string>& files) {
  for (;;) {
    const std::vector<FileStamp> before = StampsOf(files);
    const WatchEvent event = watch.Wait(kSettleTime);
    if (event == WatchEvent::Changed) continue;
    if (event != WatchEvent::Quiet) return event;
    if (StampsOf(files) == before) return WatchEvent::Changed;
  }
}

// "12:03:41", the local time of day.
std::string ClockNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[16];
  return std::strftime(text, sizeof text, "%H:%M:%S", &local) ? text : "--:--:--";
}

// Runs the conversion with its messages collected, then prints them and its own line, each
// after the time the conversion ended.
int ConvertAndSay(const Conversion& convert, const WatchPlan& plan, const char* verb,
                  std::FILE* err) {
  std::FILE* scratch = OpenScratchStream();
  const int status = convert(scratch != nullptr ? scratch : err);
  const std::string clock = ClockNow();
  if (scratch != nullptr) {
    std::rewind(scratch);
    bool lineStart = true;
    for (int c; (c = std::fgetc(scratch)) != EOF;) {
      if (lineStart) std::fprintf(err, "%s ", clock.c_str());
      std::fputc(c, err);
      lineStart = c == '\n';
    }
    std::fclose(scratch);
  }
  if (status == kExitOk && !plan.written.empty())
    std::fprintf(err, "%s %s: %s\n", clock.c_str(), verb, plan.written.c_str());
  std::fflush(err);
  return status;
}

std::string NamesOf(const std::vector<std::string>& files) {
  std::string names;
  for (const std::string& file : files) names += (names.empty() ? "" : ", ") + PrintableName(file);
  return names;
}

}  // namespace

int RunWatching(const WatchPlan& plan, const Conversion& convert, std::FILE* err) {
  // Watching starts first, so that a save during the first conversion is not missed.
  FolderWatchOpening opening = OpenFolderWatch(plan.files);
  if (!opening.watch) {
    std::fprintf(err, "korvanth-convert: %s\n", opening.error.c_str());
    return kExitFailure;
  }
  FolderWatch& watch = *opening.watch;
  const int first = ConvertAndSay(convert, plan, "converted", err);
  if (first == kExitUsage) return first;
  std::fprintf(err, "korvanth-convert: watching %s for changes; Ctrl+C ends\n",
               NamesOf(plan.files).c_str());
  std::fflush(err);
  for (;;) {
    WatchEvent event = watch.Wait(std::nullopt);
    if (event == WatchEvent::Changed) event = Settle(watch, plan.files);
    switch (event) {
      case WatchEvent::Stop:
        return kExitOk;
      case WatchEvent::Lost:
        std::fprintf(err, "korvanth-convert: %s\n", watch.problem().c_str());
        return kExitFailure;
      case WatchEvent::Changed:
        ConvertAndSay(convert, plan, "rebuilt", err);
        break;
      case WatchEvent::Quiet:
        break;
    }
  }
}

}  // namespace korvanth

// The whole-file write (korvanth::StagedFile, and ReplaceFileWith built on it): a file
// written in pieces has no name until it is committed, and only a regular file, or a link
// to one, is ever replaced.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef __x86_64__
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/staged_file.h"
#include "support/test_files.h"

namespace fs = std::filesystem;
using korvanth::SaveProblem;
using korvanth::StagedFile;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

const WCHAR* Name(const std::u16string& wide) {
  return reinterpret_cast<const WCHAR*>(wide.c_str());
}

// Writes `bytes` in three pieces.
SaveProblem WriteInPieces(StagedFile& file, const std::vector<std::uint8_t>& bytes) {
  const std::span<const std::uint8_t> all(bytes);
  const std::size_t third = bytes.size() / 3;
  for (const auto piece : {all.first(third), all.subspan(third, third), all.subspan(2 * third)})
    if (const SaveProblem written = file.Write(piece); written != SaveProblem::None) return written;
  return SaveProblem::None;
}

// What can stand where a save goes, as stat (following links) sees it.
enum class Kind { Nothing, Regular, Fifo, Socket, Folder, Device };

const char* KindName(Kind kind) {
  static const char* const names[] = {"nothing", "regular file", "FIFO",
                                      "socket",  "folder",       "device"};
  return names[static_cast<int>(kind)];
}

Kind KindAt(const std::string& path) {
  struct stat found {};
  if (::stat(path.c_str(), &found) != 0) return Kind::Nothing;
  if (S_ISREG(found.st_mode)) return Kind::Regular;
  if (S_ISFIFO(found.st_mode)) return Kind::Fifo;
  if (S_ISSOCK(found.st_mode)) return Kind::Socket;
  if (S_ISDIR(found.st_mode)) return Kind::Folder;
  return Kind::Device;
}

// Makes a `kind` at `path`; false where this user cannot (a device node needs root).
bool Make(Kind kind, const std::string& path) {
  switch (kind) {
    case Kind::Nothing:
      return true;
    case Kind::Regular:
      WriteBytes(path, "old");
      return true;
    case Kind::Fifo:
      return ::mkfifo(path.c_str(), 0600) == 0;
    case Kind::Socket: {
      // A socket's node stays after the socket closes.
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      if (path.size() >= sizeof address.sun_path) return false;
      std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
      const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
      const bool bound =
          sock >= 0 && ::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
      if (sock >= 0) ::close(sock);
      return bound;
    }
    case Kind::Folder:
      return fs::create_directory(path);
    case Kind::Device:  // a private node with /dev/zero's numbers
      return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
  }
  return false;
}

// Each kind of target, straight and through a symbolic link, written three ways: whole
// (ReplaceFileWith), staged in pieces onto it, and staged before it appeared at the target
// (Commit looks again). The non-regular thing is still what it was afterwards, a link
// stays a link, and no temporary is left.
TEST(StagedFile, ReplacesOnlyARegularFileOrALinkToOne) {
  const struct {
    Kind kind;
    SaveProblem problem;
  } table[] = {
      {Kind::Nothing, SaveProblem::None},        {Kind::Regular, SaveProblem::None},
      {Kind::Fifo, SaveProblem::NotRegularFile}, {Kind::Socket, SaveProblem::NotRegularFile},
      {Kind::Folder, SaveProblem::IsFolder},     {Kind::Device, SaveProblem::NotRegularFile},
  };
  enum class Way { Whole, StagedOnto, StagedBeforeIt };
  const std::vector<std::uint8_t> bytes = Bytes("the new file's bytes");
  int skipped = 0;
  for (const auto& row : table) {
    for (const bool throughLink : {false, true}) {
      for (const Way way : {Way::Whole, Way::StagedOnto, Way::StagedBeforeIt}) {
        SCOPED_TRACE(std::string(KindName(row.kind)) + (throughLink ? " through a link" : "") +
                     ", way " + std::to_string(static_cast<int>(way)));
        ScratchDir dir;
        const std::string thing = dir.file("thing");
        std::vector<std::string> names = {"thing"};
        if (throughLink) {
          fs::create_symlink("thing", dir.path() / "link");  // relative, as often made
          names.insert(names.begin(), "link");
        }
        const std::u16string target = Wide(dir.file(throughLink ? "link" : "thing"));
        SaveProblem outcome = SaveProblem::Other;
        bool made = true;
        if (way == Way::Whole) {
          made = Make(row.kind, thing);
          if (made) outcome = korvanth::ReplaceFileWith(Name(target), bytes);
        } else {
          StagedFile file;
          if (way == Way::StagedOnto) made = Make(row.kind, thing);
          const SaveProblem begun = file.Begin(Name(target));
          ASSERT_EQ(begun, way == Way::StagedOnto && made ? row.problem : SaveProblem::None);
          if (begun == SaveProblem::None) {
            ASSERT_EQ(WriteInPieces(file, bytes), SaveProblem::None);
            ASSERT_EQ(file.Finish(), SaveProblem::None);
          }
          if (way == Way::StagedBeforeIt) made = Make(row.kind, thing);
          outcome = file.Commit();  // after a failed Begin, its answer again
        }
        if (!made) {
          ++skipped;
          continue;
        }
        EXPECT_EQ(outcome, row.problem);
        EXPECT_EQ(KindAt(thing), row.problem == SaveProblem::None ? Kind::Regular : row.kind);
        if (row.problem == SaveProblem::None) {
          EXPECT_EQ(ReadBytes(thing), "the new file's bytes");
        }
        EXPECT_EQ(fs::is_symlink(dir.path() / "link"), throughLink);
        const std::set<std::string> expected(names.begin(), names.end());
        EXPECT_EQ(FileNamesIn(dir.path()), expected) << "nothing but the target and its link";
      }
    }
  }
  RecordProperty("rows_this_user_cannot_make", skipped);
  if (skipped > 0 && ::geteuid() == 0) ADD_FAILURE() << skipped << " targets not made as root";
}

// Files staged in pieces have no name in their folder until they are committed; one never
// committed leaves nothing; calls out of order are refused.
TEST(StagedFile, StagedFilesHaveNoNameUntilCommit) {
  ScratchDir dir;
  WriteBytes(dir.file("sheet.png"), "old sheet");
  const std::u16string names[] = {Wide(dir.file("sheet.png")), Wide(dir.file("sheet.tsx")),
                                  Wide(dir.file("sheet.tres"))};
  const std::vector<std::uint8_t> bytes = Bytes("new bytes, in three pieces");
  StagedFile files[3];
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(files[i].Begin(Name(names[i])), SaveProblem::None);
    ASSERT_EQ(WriteInPieces(files[i], bytes), SaveProblem::None);
    ASSERT_EQ(files[i].Finish(), SaveProblem::None);
  }
  EXPECT_EQ(FileNamesIn(dir.path()), std::set<std::string>{"sheet.png"});
  EXPECT_EQ(ReadBytes(dir.file("sheet.png")), "old sheet");
  files[2].Discard();
  EXPECT_EQ(files[0].Commit(), SaveProblem::None);
  EXPECT_EQ(files[1].Commit(), SaveProblem::None);
  EXPECT_EQ(FileNamesIn(dir.path()), (std::set<std::string>{"sheet.png", "sheet.tsx"}));
  EXPECT_EQ(ReadBytes(dir.file("sheet.png")), "new bytes, in three pieces");
  EXPECT_EQ(ReadBytes(dir.file("sheet.tsx")), "new bytes, in three pieces");

  StagedFile unfinished, finished;
  ASSERT_EQ(unfinished.Begin(Name(names[2])), SaveProblem::None);
  ASSERT_EQ(finished.Stage(Name(names[2]), bytes), SaveProblem::None);
  const struct {
    const char* call;
    SaveProblem answer;
  } outOfOrder[] = {
      {"Commit again", files[0].Commit()},
      {"Commit of a discarded file", files[2].Commit()},
      {"Write after Commit", files[1].Write(bytes)},
      {"Write after Finish", finished.Write(bytes)},
      {"Finish of an unstarted file", StagedFile().Finish()},
      {"Write to an unstarted file", StagedFile().Write(bytes)},
      {"Commit of an unfinished file", unfinished.Commit()},
      {"Begin of an empty name", StagedFile().Begin(Name(u""))},
  };
  for (const auto& row : outOfOrder)
    EXPECT_EQ(row.answer, std::string_view(row.call).starts_with("Begin")
                              ? SaveProblem::FolderMissing
                              : SaveProblem::Other)
        << row.call;
  unfinished.Discard();
  finished.Discard();
  EXPECT_EQ(FileNamesIn(dir.path()), (std::set<std::string>{"sheet.png", "sheet.tsx"}));
}

#ifdef __x86_64__
// Runs `body` in a child process whose openat refuses O_TMPFILE with EOPNOTSUPP, as on a
// file system without nameless files; true when the child ends with 0.
bool WithoutNamelessFiles(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),  // flags' low half
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
      _exit(100);
    _exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Without nameless files the bytes wait in memory, so a named temporary exists from Finish
// to Commit only; a file streamed beyond what is held takes its temporary as it comes.
TEST(StagedFile, WithoutNamelessFilesATemporaryExistsFromFinishToCommit) {
  ScratchDir dir;
  WriteBytes(dir.file("sheet.png"), "old sheet");
  const std::u16string small = Wide(dir.file("sheet.png"));
  const std::u16string large = Wide(dir.file("sheet.tres"));
  const std::vector<std::uint8_t> bytes = Bytes("new bytes, in three pieces");
  const std::vector<std::uint8_t> mebibyte(1 << 20, 'x');
  const auto temporaries = [&] {
    int count = 0;
    for (const std::string& name : FileNamesIn(dir.path())) count += name.starts_with(".korvanth-");
    return count;
  };
  // Each check in the child says what failed on stderr.
  const bool held = WithoutNamelessFiles([&] {
    const auto check = [](bool holds, const char* what) {
      if (!holds) std::fprintf(stderr, "failed in the child: %s\n", what);
      return holds;
    };
    StagedFile sheet, tres;
    if (!check(sheet.Begin(Name(small)) == SaveProblem::None &&
                   WriteInPieces(sheet, bytes) == SaveProblem::None,
               "writing") ||
        !check(temporaries() == 0, "no name while the bytes are held") ||
        !check(sheet.Finish() == SaveProblem::None && temporaries() == 1,
               "a temporary from Finish") ||
        !check(tres.Begin(Name(large)) == SaveProblem::None, "the second file"))
      return 1;
    for (int i = 0; i < 5; ++i)
      if (!check(tres.Write(mebibyte) == SaveProblem::None, "streaming")) return 1;
    if (!check(temporaries() == 2, "a temporary once more than 4 MiB came") ||
        !check(tres.Finish() == SaveProblem::None && sheet.Commit() == SaveProblem::None &&
                   tres.Commit() == SaveProblem::None,
               "committing") ||
        !check(ReadBytes(dir.file("sheet.png")) == "new bytes, in three pieces" &&
                   fs::file_size(dir.path() / "sheet.tres") == 5u << 20,
               "the files' contents") ||
        !check(korvanth::ReplaceFileWith(Name(small), bytes) == SaveProblem::None,
               "a whole-file write"))
      return 1;
    {
      StagedFile dropped;
      if (!check(dropped.Stage(Name(large), bytes) == SaveProblem::None && temporaries() == 1,
                 "staging a file to drop"))
        return 1;
    }
    return check(temporaries() == 0, "a dropped file leaves nothing") ? 0 : 1;
  });
  EXPECT_TRUE(held);
  EXPECT_EQ(FileNamesIn(dir.path()), (std::set<std::string>{"sheet.png", "sheet.tres"}));
}
#endif

}  // namespace

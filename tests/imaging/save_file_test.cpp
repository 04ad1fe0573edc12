// korvanth::SaveImageFile: a save is whole or nothing and a failure names its cause.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "imaging/imaging_helpers.h"
#include "imaging/save_file.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

using korvanth::SaveProblem;

korvanth::SaveOutcome Save(ImageHandle& sheet, const std::string& path, const char16_t* mime) {
  return korvanth::SaveImageFile(sheet.image(), Wide(path).c_str(), *FileTypeForMimeType(mime));
}

// errno values as <errno.h> documents them, and the causes a user is told.
TEST(SaveProblem, FromErrno) {
  const std::pair<int, SaveProblem> table[] = {
      {0, SaveProblem::None},
      {ENOSPC, SaveProblem::DiskFull},
      {EDQUOT, SaveProblem::DiskFull},
      {EACCES, SaveProblem::PermissionDenied},
      {EPERM, SaveProblem::PermissionDenied},
      {EROFS, SaveProblem::PermissionDenied},
      {ENAMETOOLONG, SaveProblem::NameTooLong},
      {ENOENT, SaveProblem::FolderMissing},
      {ENOTDIR, SaveProblem::FolderMissing},
      {EISDIR, SaveProblem::IsFolder},
      {EIO, SaveProblem::Other},
      {EMFILE, SaveProblem::Other},
  };
  for (auto [error, problem] : table)
    EXPECT_EQ(korvanth::SaveProblemFromErrno(error), problem) << std::strerror(error);
}

// Windows system error codes, by their documented numbers.
TEST(SaveProblem, FromWindowsErrors) {
  const std::pair<std::uint32_t, SaveProblem> table[] = {
      {0, SaveProblem::None},
      {2, SaveProblem::FolderMissing},
      {3, SaveProblem::FolderMissing},
      {5, SaveProblem::PermissionDenied},
      {19, SaveProblem::PermissionDenied},
      {32, SaveProblem::Other},
      {39, SaveProblem::DiskFull},
      {112, SaveProblem::DiskFull},
      {1295, SaveProblem::DiskFull},
      {206, SaveProblem::NameTooLong},
      {123, SaveProblem::Other},
      {183, SaveProblem::Other},
  };
  for (auto [error, problem] : table)
    EXPECT_EQ(korvanth::SaveProblemFromWindowsError(error), problem) << error;
}

// Windows names hold at most 255 UTF-16 units between separators; a kanji is one unit,
// a character beyond the basic plane two.
TEST(SaveProblem, OverlongWindowsNames) {
  const std::u16string n255(255, u'n');
  const std::u16string kanji254(254, u'\u5730');
  const struct {
    std::u16string path;
    bool overlong;
  } table[] = {
      {u"C:\\sheets\\" + n255, false},
      {u"C:\\sheets\\" + n255 + u"n", true},
      {u"C:\\" + n255 + u"n\\a.png", true},
      {u"C:/" + n255 + u"/" + n255, false},
      {n255 + u"\\" + n255 + u"\\" + n255, false},
      {u"sheets/" + kanji254 + u".", false},
      {u"sheets/" + kanji254 + u"\U0001F600", true},
      {u"", false},
  };
  for (const auto& row : table)
    EXPECT_EQ(korvanth::HasOverlongWindowsName(reinterpret_cast<const WCHAR*>(row.path.c_str())),
              row.overlong)
        << row.path.size();
  EXPECT_FALSE(korvanth::HasOverlongWindowsName(nullptr));
}

// Portable error codes, from the C library's numbers and from the portable conditions.
TEST(SaveProblem, FromErrorCodes) {
  const std::pair<std::error_code, SaveProblem> table[] = {
      {std::error_code(), SaveProblem::None},
      {std::error_code(ENOSPC, std::generic_category()), SaveProblem::DiskFull},
      {std::error_code(ENOSPC, std::system_category()), SaveProblem::DiskFull},
      {std::make_error_code(std::errc::permission_denied), SaveProblem::PermissionDenied},
      {std::error_code(EROFS, std::system_category()), SaveProblem::PermissionDenied},
      {std::error_code(ENAMETOOLONG, std::system_category()), SaveProblem::NameTooLong},
      {std::error_code(ENOENT, std::system_category()), SaveProblem::FolderMissing},
      {std::error_code(ENOTDIR, std::system_category()), SaveProblem::FolderMissing},
      {std::error_code(EIO, std::system_category()), SaveProblem::Other},
  };
  for (const auto& [error, problem] : table)
    EXPECT_EQ(korvanth::SaveProblemFromErrorCode(error), problem) << error.message();
}

TEST(SaveProblem, TextsAndStatuses) {
  struct Case {
    SaveProblem problem;
    const char* english;
    const char* japanese;
  };
  for (const Case& c :
       {Case{SaveProblem::None, "", ""},
        Case{SaveProblem::DiskFull, "disk full", "ディスクがいっぱいです"},
        Case{SaveProblem::PermissionDenied, "permission denied", "アクセスが拒否されました"},
        Case{SaveProblem::NotRegularFile, "it is not a regular file",
             "通常のファイルではありません"},
        Case{SaveProblem::IsFolder, "it is a folder", "フォルダーです"},
        Case{SaveProblem::Other, "the file could not be written",
             "ファイルを書き込めませんでした"}}) {
    EXPECT_STREQ(korvanth::SaveProblemText(c.problem), c.english);
    EXPECT_STREQ(korvanth::SaveProblemCause(c.problem).english, c.english);
    EXPECT_STREQ(korvanth::SaveProblemCause(c.problem).japanese, c.japanese);
  }
  // Every cause has its own words in each language.
  std::set<std::string> english, japanese;
  for (int p = 1; p <= static_cast<int>(SaveProblem::Other); ++p) {
    const korvanth::UiText cause = korvanth::SaveProblemCause(static_cast<SaveProblem>(p));
    EXPECT_TRUE(english.insert(cause.english).second) << cause.english;
    EXPECT_TRUE(japanese.insert(cause.japanese).second) << cause.japanese;
  }
  EXPECT_EQ(korvanth::StatusForProblem(SaveProblem::None), Ok);
  EXPECT_EQ(korvanth::StatusForProblem(SaveProblem::PermissionDenied), AccessDenied);
  EXPECT_EQ(korvanth::StatusForProblem(SaveProblem::DiskFull), Win32Error);
  EXPECT_EQ(korvanth::StatusForProblem(SaveProblem::NotRegularFile), Win32Error);
}

// Whatever writes it (its own writer or the host's encoder), every listed type is written,
// an empty sheet too: at its size, and transparent where the type keeps alpha.
TEST(SaveImageFile, EveryFileTypeIsWrittenOnThisHost) {
  ScratchDir dir;
  ImageHandle sheet = ImageHandle::FromScan0(96, 128, PixelFormat32bppARGB);
  for (const FileType& type : FileTypes()) {
    const std::string name = "sheet." + std::string(type.extensions[0]);
    EXPECT_TRUE(korvanth::SaveImageFile(sheet.image(), Wide(dir.file(name)).c_str(), type).ok())
        << name;
    const QImage back = ReadBack(dir.file(name));
    EXPECT_EQ(back.size(), QSize(96, 128)) << name;
    EXPECT_TRUE(type.lossy || qAlpha(back.pixel(50, 50)) == 0) << name;
  }
}

// Each failing target: the cause, nothing written, the folder as it was.
TEST(SaveImageFile, NamesTheCauseAndLeavesNothingBehind) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "folder.png");
  WriteBytes(dir.file("file"), "a file, not a folder");
  ImageHandle sheet = BitmapFrom(PatternImage(32, 32));
  const struct {
    std::string name;
    SaveProblem problem;
  } cases[] = {
      {"missing/sheet.png", SaveProblem::FolderMissing},
      {"file/sheet.png", SaveProblem::FileInTheWay},
      {"folder.png", SaveProblem::IsFolder},
      {std::string(300, 'n') + ".png", SaveProblem::NameTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.substr(0, 40));
    const korvanth::SaveOutcome outcome = Save(sheet, dir.file(c.name), u"image/png");
    EXPECT_EQ(outcome.problem, c.problem);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.status, Win32Error);
    EXPECT_EQ(FileNamesIn(dir.path()), (std::set<std::string>{"file", "folder.png"}));
  }
  EXPECT_TRUE(fs::is_empty(dir.path() / "folder.png"));
}

TEST(SaveImageFile, AnEncoderFailureIsNamedAndWritesNothing) {
  ScratchDir dir;
  WriteBytes(dir.file("sheet.gif"), "old");
  ImageHandle wide = ImageHandle::FromScan0(70000, 1, PixelFormat32bppARGB);
  const korvanth::SaveOutcome outcome = Save(wide, dir.file("sheet.gif"), u"image/gif");
  EXPECT_EQ(outcome.problem, SaveProblem::EncoderFailed);
  EXPECT_EQ(outcome.status, GenericError);
  EXPECT_EQ(ReadBytes(dir.file("sheet.gif")), "old");
  EXPECT_EQ(FileNamesIn(dir.path()), std::set<std::string>{"sheet.gif"});
}

TEST(SaveImageFile, ReplacingKeepsTheOldFilesPermissions) {
  ScratchDir dir;
  WriteBytes(dir.file("sheet.bmp"), "old");
  fs::permissions(dir.path() / "sheet.bmp",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ImageHandle sheet = BitmapFrom(PatternImage(16, 16));
  ASSERT_TRUE(Save(sheet, dir.file("sheet.bmp"), u"image/bmp").ok());
  EXPECT_EQ(fs::status(dir.path() / "sheet.bmp").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FirstDifference(PatternImage(16, 16), ReadBack(dir.file("sheet.bmp"))), "");
  EXPECT_EQ(FileNamesIn(dir.path()), std::set<std::string>{"sheet.bmp"});
}

// A small file system of its own, unmounted when done.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const fs::path& at) : at_(at) {
    fs::create_directory(at_);
    mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, "size=64k") == 0;
    error_ = errno;
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  const char* why() const { return std::strerror(error_); }

 private:
  fs::path at_;
  bool mounted_ = false;
  int error_ = 0;
};

TEST(SaveImageFile, OnAFullDiskTheOldFileStaysWholeAndTheCauseIsDiskFull) {
  ScratchDir dir;
  SmallFileSystem disk(dir.path() / "disk");
  if (!disk.mounted())
    GTEST_SKIP() << "cannot mount a 64 KiB tmpfs here (" << disk.why()
                 << "); the full-disk case needs root or CAP_SYS_ADMIN";
  const std::string old = dir.file("disk/sheet.bmp");
  ImageHandle small = BitmapFrom(PatternImage(16, 16));
  ASSERT_TRUE(Save(small, old, u"image/bmp").ok());
  const std::string oldBytes = ReadBytes(old);
  {
    // Fill what is left.
    std::ofstream filler(dir.file("disk/filler"), std::ios::binary);
    const std::string block(4096, 'x');
    for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) {
    }
  }
  for (const char16_t* mime : {u"image/bmp", u"image/png", u"image/gif", u"image/tiff"}) {
    ImageHandle sheet = BitmapFrom(PatternImage(128, 384));
    const korvanth::SaveOutcome outcome = Save(sheet, old, mime);
    EXPECT_EQ(outcome.problem, SaveProblem::DiskFull);
    EXPECT_EQ(outcome.status, Win32Error);
    EXPECT_EQ(ReadBytes(old), oldBytes);
    EXPECT_EQ(FileNamesIn(dir.path() / "disk"), (std::set<std::string>{"filler", "sheet.bmp"}));
  }
  EXPECT_STREQ(korvanth::SaveProblemText(SaveProblem::DiskFull), "disk full");
}

TEST(SaveImageFile, OnAReadOnlyDiskTheCauseIsPermission) {
  ScratchDir dir;
  SmallFileSystem disk(dir.path() / "disk");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (" << disk.why() << ")";
  WriteBytes(dir.file("disk/sheet.png"), "old");
  const std::string at = (dir.path() / "disk").string();
  ASSERT_EQ(::mount("tmpfs", at.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0)
      << std::strerror(errno);
  ImageHandle sheet = BitmapFrom(PatternImage(8, 8));
  const korvanth::SaveOutcome outcome = Save(sheet, dir.file("disk/sheet.png"), u"image/png");
  EXPECT_EQ(outcome.problem, SaveProblem::PermissionDenied);
  EXPECT_EQ(outcome.status, AccessDenied);
  EXPECT_EQ(ReadBytes(dir.file("disk/sheet.png")), "old");
}

}  // namespace

namespace {

TEST(SaveImageFile, ALinkStaysALinkAndTheFileItNamesIsReplaced) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "real");
  WriteBytes(dir.file("real/sheet.png"), "old");
  fs::create_symlink(dir.path() / "real/sheet.png", dir.path() / "link.png");
  ImageHandle sheet = BitmapFrom(PatternImage(8, 8));
  ASSERT_TRUE(Save(sheet, dir.file("link.png"), u"image/png").ok());
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.png"));
  EXPECT_EQ(FirstDifference(PatternImage(8, 8), ReadBack(dir.file("real/sheet.png"))), "");
  EXPECT_EQ(FileNamesIn(dir.path() / "real"), std::set<std::string>{"sheet.png"});
}

}  // namespace

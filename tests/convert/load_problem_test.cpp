// The causes of a failed load and their words, the same whichever host's decoder ran:
// GDI+ on Windows answers a damaged file with "out of memory", "generic error" or
// "invalid parameter"; the Linux decoders with their own statuses.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "convert/picture_file.h"
#include "support/picture_bytes.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

using korvanth::imaging::PictureType;

TEST(LoadProblem, DecoderStatusesMapToOneCauseOnEveryHost) {
  struct Case {
    GpStatus status;
    PictureType type;
    LoadProblem expected;
  };
  const Case cases[] = {
      {FileNotFound, PictureType::Unknown, LoadProblem::NotFound},
      {FileNotFound, PictureType::Png, LoadProblem::NotFound},
      {AccessDenied, PictureType::Unknown, LoadProblem::NoAccess},
      {ValueOverflow, PictureType::Jpeg, LoadProblem::TooLarge},
      {OutOfMemory, PictureType::Png, LoadProblem::Damaged},
      {GenericError, PictureType::Tiff, LoadProblem::Damaged},
      {InvalidParameter, PictureType::Bmp, LoadProblem::Damaged},
      {UnknownImageFormat, PictureType::Gif, LoadProblem::Damaged},
      {UnknownImageFormat, PictureType::Unknown, LoadProblem::UnknownFormat},
      {Win32Error, PictureType::Unknown, LoadProblem::Unreadable},
      {NotImplemented, PictureType::Tiff, LoadProblem::DecoderMissing},
      {Ok, PictureType::Png, LoadProblem::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProblemOfFailedDecode(c.status, c.type), c.expected) << c.status;
}

TEST(LoadProblem, PathsThatNameNoReadableFileAreSettledBeforeAnyDecoder) {
  struct Case {
    int openError;
    LoadProblem expected;
  };
  const Case cases[] = {{ENOENT, LoadProblem::NotFound},
                        {ENOTDIR, LoadProblem::NotFound},
                        {EACCES, LoadProblem::NoAccess},
                        {0, LoadProblem::Unreadable},
                        {EIO, LoadProblem::Unreadable}};
  for (const Case& c : cases) {
    korvanth::imaging::PictureHeader header;
    header.openError = c.openError;
    EXPECT_EQ(ProblemOfHeader(header), c.expected) << c.openError;
  }
  for (const auto kind :
       {korvanth::imaging::InputProblem::IsFolder, korvanth::imaging::InputProblem::NotRegular}) {
    korvanth::imaging::PictureHeader header;
    header.openProblem = kind;
    EXPECT_EQ(ProblemOfHeader(header), LoadProblem::NotAFile);
  }
  ScratchDir dir;
  ImageHandle picture;
  EXPECT_EQ(LoadPictureNamed(dir.file("no-folder/missing.png").c_str(), picture).problem,
            LoadProblem::NotFound);
  EXPECT_EQ(LoadPictureNamed(dir.path().string().c_str(), picture).problem, LoadProblem::NotAFile);
}

TEST(LoadProblem, EveryCauseHasItsOwnLineInBothLanguages) {
  std::set<std::string> texts;
  std::set<std::string> japanese;
  for (LoadProblem p :
       {LoadProblem::BadPath, LoadProblem::NoMemory, LoadProblem::NotFound, LoadProblem::NoAccess,
        LoadProblem::NotAFile, LoadProblem::Unreadable, LoadProblem::UnknownFormat,
        LoadProblem::Damaged, LoadProblem::TooLarge, LoadProblem::UnsupportedBmp,
        LoadProblem::UnsupportedJpeg, LoadProblem::UnsupportedTiff, LoadProblem::DecoderMissing}) {
    const std::string text = LoadProblemText(p);
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    EXPECT_TRUE(texts.insert(text).second) << text;
    EXPECT_EQ(LoadProblemCause(p).english, text);
    // The Japanese is kana and all (hiragana and katakana lie at U+3040 to U+30FF).
    const std::string inJapanese = LoadProblemCause(p).japanese;
    EXPECT_TRUE(inJapanese.find("\xE3\x81") != std::string::npos ||
                inJapanese.find("\xE3\x82") != std::string::npos)
        << inJapanese;
    EXPECT_EQ(inJapanese.find('\n'), std::string::npos) << inJapanese;
    EXPECT_TRUE(japanese.insert(inJapanese).second) << inJapanese;
    // A refusal leaves a status in the handle that maps back to the same cause (an
    // unsupported kind is told by the header alone, never by a decoder's status).
    const bool headerOnly = p == LoadProblem::UnsupportedBmp || p == LoadProblem::UnsupportedJpeg ||
                            p == LoadProblem::UnsupportedTiff || p == LoadProblem::NotAFile;
    if (p != LoadProblem::BadPath && p != LoadProblem::NoMemory && !headerOnly) {
      const PictureType type = p == LoadProblem::Damaged || p == LoadProblem::TooLarge
                                   ? PictureType::Png
                                   : PictureType::Unknown;
      EXPECT_EQ(ProblemOfFailedDecode(StatusOfProblem(p), type), p) << text;
    }
  }
}

TEST(LoadProblem, RefusedLoadsLeaveAnEmptyPictureWithTheirStatus) {
  ScratchDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    LoadProblem expected;
    GpStatus status;
  };
  const Case cases[] = {
      {"huge.gif", GifHeaderBytes(65535, 65535), LoadProblem::TooLarge, ValueOverflow},
      {"cut.png", PngHeaderBytes(64, 96, 8, 6).substr(0, 24), LoadProblem::Damaged, GenericError},
      {"icon.png", std::string("\0\0\1\0\1\0\x10\x10", 8), LoadProblem::UnknownFormat,
       UnknownImageFormat},
  };
  for (const Case& c : cases) {
    WriteBytes(dir.file(c.name), c.bytes);
    ImageHandle picture;
    const LoadOutcome outcome = LoadPictureNamed(dir.file(c.name).c_str(), picture);
    EXPECT_EQ(outcome.problem, c.expected) << c.name;
    EXPECT_EQ(outcome.status, c.status) << c.name;
    EXPECT_TRUE(picture.empty()) << c.name;
    EXPECT_EQ(picture.Width(), 0u) << c.name;
    EXPECT_EQ(picture.Height(), 0u) << c.name;
  }
  ImageHandle missing;
  EXPECT_EQ(LoadPictureNamed(dir.file("missing.png").c_str(), missing).problem,
            LoadProblem::NotFound);
}

// The converter's way: a picture loaded by its UTF-8 name, by the same rules, for names
// of any length.
TEST(LoadProblem, LoadingByAUtf8NameOfAnyLength) {
  ScratchDir dir;

  const std::string deep = dir.file(std::string(200, 'd'));
  std::filesystem::create_directory(deep);
  struct Case {
    std::string path;
    const char* bytes;  // null: no such file is written
    std::string content;
    LoadProblem expected;
    unsigned width, height;
  };
  const Case cases[] = {
      {dir.file("tiles.gif"), "", GifHeaderBytes(96, 128), LoadProblem::None, 96, 128},
      {deep + "/" + std::string(200, 'n') + ".gif", "", GifHeaderBytes(32, 64), LoadProblem::None,
       32, 64},
      {dir.file("huge.gif"), "", GifHeaderBytes(65535, 65535), LoadProblem::TooLarge, 0, 0},
      {dir.file("cut.png"), "", PngHeaderBytes(64, 96, 8, 6).substr(0, 24), LoadProblem::Damaged, 0,
       0},
      {dir.file("icon.png"), "", std::string("\0\0\1\0\1\0\x10\x10", 8), LoadProblem::UnknownFormat,
       0, 0},
      {dir.file("missing.png"), nullptr, "", LoadProblem::NotFound, 0, 0},
      {dir.file("name\xFF.gif"), nullptr, "", LoadProblem::BadPath, 0, 0},
  };
  for (const Case& c : cases) {
    if (c.bytes != nullptr) WriteBytes(c.path, c.content);
    ImageHandle picture;
    EXPECT_EQ(LoadPictureFile(c.path, picture).problem, c.expected) << c.path;
    EXPECT_EQ(picture.Width(), c.width) << c.path;
    EXPECT_EQ(picture.Height(), c.height) << c.path;
  }
}

}  // namespace

// The causes of a failed load and their words, the same whichever host's decoder ran:
// GDI+ on Windows answers a damaged file with "out of memory", "generic error" or
// "invalid parameter"; the portable decoders with their own statuses.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "convert/conversion_state.h"
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
  ScratchDir dir;
  EXPECT_EQ(ReplaceSourceImage(dir.file("no-folder/missing.png").c_str()).problem,
            LoadProblem::NotFound);
  EXPECT_EQ(ReplaceSourceImage(dir.path().string().c_str()).problem, LoadProblem::Unreadable);
  DestroySourceImage();
}

TEST(LoadProblem, EveryCauseHasItsOwnLine) {
  std::set<std::string> texts;
  for (LoadProblem p :
       {LoadProblem::BadPath, LoadProblem::NoMemory, LoadProblem::NotFound, LoadProblem::NoAccess,
        LoadProblem::Unreadable, LoadProblem::UnknownFormat, LoadProblem::Damaged,
        LoadProblem::TooLarge, LoadProblem::UnsupportedBmp, LoadProblem::UnsupportedJpeg,
        LoadProblem::UnsupportedTiff, LoadProblem::DecoderMissing}) {
    const std::string text = LoadProblemText(p);
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    EXPECT_TRUE(texts.insert(text).second) << text;
    // A refusal leaves a status in the handle that maps back to the same cause (an
    // unsupported kind is told by the header alone, never by a decoder's status).
    const bool headerOnly = p == LoadProblem::UnsupportedBmp || p == LoadProblem::UnsupportedJpeg ||
                            p == LoadProblem::UnsupportedTiff;
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
    const LoadOutcome outcome = ReplaceSourceImage(dir.file(c.name).c_str());
    EXPECT_EQ(outcome.problem, c.expected) << c.name;
    EXPECT_EQ(outcome.status, c.status) << c.name;
    ASSERT_TRUE(SourceImage.exists()) << c.name;
    EXPECT_TRUE(SourceImage.image->empty()) << c.name;
    EXPECT_EQ(SourceImage.width, 0) << c.name;
    EXPECT_EQ(SourceImage.height, 0) << c.name;
  }
  EXPECT_EQ(ReplaceSourceImage(dir.file("missing.png").c_str()).problem, LoadProblem::NotFound);
  DestroySourceImage();
}

// The converter's way: a picture loaded into a handle of its own, by the same rules, for
// names of any length, while the window's picture stays as it was.
TEST(LoadProblem, LoadingIntoAHandleOfOnesOwnLeavesTheWindowsPictureAlone) {
  ScratchDir dir;
  WriteBytes(dir.file("window.gif"), GifHeaderBytes(64, 96));
  ASSERT_EQ(ReplaceSourceImage(dir.file("window.gif").c_str()).problem, LoadProblem::None);
  const ImageHandle* windowPicture = SourceImage.image;

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
    EXPECT_EQ(SourceImage.image, windowPicture) << c.path;
    EXPECT_EQ(SourceImage.width, 64) << c.path;
    EXPECT_EQ(SourceImage.height, 96) << c.path;
  }
  DestroySourceImage();
}

}  // namespace

// This program carries its own copy of the libtiff loader, built to open a library that is
// not installed: a TIFF then fails to load with its own cause, and other formats load.
#include <gtest/gtest.h>

#include <string>

#include "convert/picture_file.h"

using namespace korvanth;

namespace {

TEST(TiffUnloadable, ATiffFailsWithTheMissingLibraryAsItsCause) {
  struct Case {
    const char* file;
    LoadProblem expected;
  };
  const Case cases[] = {
      {"tests/fuzz/seeds/tiff/tiff-strips-none.tif", LoadProblem::DecoderMissing},
      {"samples/sample-tiles.png", LoadProblem::None},
  };
  for (const Case& c : cases) {
    ImageHandle picture;
    const LoadOutcome outcome =
        LoadPictureFile(std::string(KORVANTH_SOURCE_DIR) + "/" + c.file, picture);
    EXPECT_EQ(outcome.problem, c.expected) << c.file;
    EXPECT_EQ(picture.Width() > 0, c.expected == LoadProblem::None) << c.file;
  }
}

}  // namespace

// The window starts on the sample the packages carry when no argument names a picture:
// where the program looks for it, and the start itself.
#include <QCoreApplication>

#include <filesystem>
#include <string>
#include <vector>

#include "app/bundled_sample.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"

using namespace korvanth;

namespace {

TEST(BundledSampleTest, BesideTheProgramElseInShareKorvanth) {
  ScratchDir dir;
  struct Case {
    std::vector<const char*> files;  // made in the scratch folder
    const char* program;
    const char* found;  // empty: none
  };
  const Case cases[] = {
      {{"zip/sample-tiles.png"}, "zip/korvanth.exe", "zip/sample-tiles.png"},
      {{"usr/share/korvanth/sample-tiles.png"},
       "usr/bin/korvanth",
       "usr/share/korvanth/sample-tiles.png"},
      {{"both/bin/sample-tiles.png", "both/share/korvanth/sample-tiles.png"},
       "both/bin/korvanth",
       "both/bin/sample-tiles.png"},
      {{"絵 試用/sample-tiles.png"}, "絵 試用/korvanth.exe", "絵 試用/sample-tiles.png"},
      {{"none/bin/other.png", "none/share/sample-tiles.png", "none/share/korvanth/sample.png"},
       "none/bin/korvanth",
       ""},
      {{"folder/bin/sample-tiles.png/inside.png"}, "folder/bin/korvanth", ""},
  };
  for (const Case& c : cases) {
    for (const char* file : c.files) {
      std::filesystem::create_directories(std::filesystem::path(dir.file(file)).parent_path());
      WriteBytes(dir.file(file), "picture");
    }
    EXPECT_EQ(FindBundledSample(dir.file(c.program)), *c.found ? dir.file(c.found) : "")
        << c.program;
  }
  EXPECT_EQ(FindBundledSample(""), "");
}

TEST(BundledSampleTest, ProgramPathIsTheRunningProgram) {
  EXPECT_EQ(ProgramPath(), QCoreApplication::applicationFilePath().toStdString());
}

class BundledSampleStartTest : public MainWindowFixture {
 protected:
  QString Title() const { return client()->window()->windowTitle(); }
  // The source tree's sample under the name the packages give it.
  std::string CopySample() {
    const std::string copy = dir_.file(kBundledSampleName);
    std::filesystem::copy_file(KORVANTH_SOURCE_DIR "/samples/sample-tiles.png", copy);
    return copy;
  }
};

TEST_F(BundledSampleStartTest, OpensTheSampleOnlyWithoutAnArgument) {
  const std::string sample = CopySample();
  Restart({"korvanth"}, sample);
  EXPECT_EQ(Title(), QStringLiteral("sample-tiles.png - Korvanth"));
  EXPECT_EQ(SourceImage.width, 256);
  EXPECT_EQ(SourceImage.height, 224);
  const std::string other = SavePicture(Solid(64, 64, 0xFF336699), "other.png");
  Restart({"korvanth", other}, sample);
  EXPECT_EQ(Title(), QStringLiteral("other.png - Korvanth"));
}

}  // namespace

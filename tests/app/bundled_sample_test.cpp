// Without an argument the window starts on the sample the packages carry: where the
// program looks for it, and the start itself.
#include <QCoreApplication>
#include <QSize>

#include <filesystem>

#include "app/bundled_sample.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"

using namespace korvanth;

namespace {

TEST(BundledSampleTest, BesideTheProgramElseInShareKorvanth) {
  ScratchDir dir;
  for (const char* file :
       {"zip/sample-tiles.png", "usr/share/korvanth/sample-tiles.png", "both/bin/sample-tiles.png",
        "both/share/korvanth/sample-tiles.png", "絵 試用/sample-tiles.png",
        "none/share/sample-tiles.png", "folder/bin/sample-tiles.png/inside.png"}) {
    std::filesystem::create_directories(std::filesystem::path(dir.file(file)).parent_path());
    WriteBytes(dir.file(file), "picture");
  }
  const char* cases[][2] = {{"zip/korvanth.exe", "zip/sample-tiles.png"},
                            {"usr/bin/korvanth", "usr/share/korvanth/sample-tiles.png"},
                            {"both/bin/korvanth", "both/bin/sample-tiles.png"},
                            {"絵 試用/korvanth.exe", "絵 試用/sample-tiles.png"},
                            {"none/bin/korvanth", nullptr},
                            {"folder/bin/korvanth", nullptr}};
  for (const auto& [program, found] : cases)
    EXPECT_EQ(FindBundledSample(dir.file(program)), found ? dir.file(found) : "") << program;
  EXPECT_EQ(FindBundledSample(""), "");
  EXPECT_EQ(ProgramPath(), QCoreApplication::applicationFilePath().toStdString());
}

TEST_F(MainWindowFixture, OpensTheBundledSampleOnlyWithoutAnArgument) {
  const std::string sample = dir_.file(kBundledSampleName);
  std::filesystem::copy_file(KORVANTH_SOURCE_DIR "/samples/sample-tiles.png", sample);
  Restart({"korvanth"}, sample);
  EXPECT_EQ(client()->window()->windowTitle(), QStringLiteral("sample-tiles.png - Korvanth"));
  EXPECT_EQ(QSize(MainWindowState.picture.width, MainWindowState.picture.height), QSize(256, 224));
  Restart({"korvanth", SavePicture(Solid(64, 64, 0xFF336699), "other.png")}, sample);
  EXPECT_EQ(client()->window()->windowTitle(), QStringLiteral("other.png - Korvanth"));
}

}  // namespace

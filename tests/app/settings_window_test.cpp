// The real window's remembered choices: chosen through the menus, the window closed and
// the program started again with the same configuration folder; a damaged or unreadable
// settings file; --reset-settings; and the first window size for large and small pictures.
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <optional>
#include <string>

#include "app/main_menu.h"
#include "app/menu_resource.h"
#include "app/settings_text.h"
#include "app/sheet_preview.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"

using namespace korvanth;
using namespace std::string_literals;

namespace {

class SettingsWindowTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfig_ = old;
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    if (oldConfig_)
      setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }

  std::string SettingsFile() const { return dir_.file("config/korvanth/settings.conf"); }
  void WriteSettings(const std::string& text) {
    std::filesystem::create_directories(dir_.path() / "config/korvanth");
    WriteBytes(SettingsFile(), text);
  }
  RememberedSettings SettingsOnDisk() const {
    const std::string text = ReadBytes(SettingsFile());
    return ParseSettings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  }
  bool Checked(UINT item) const {
    return (GetMenuState(GetMenu(window()), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  QWidget* Frame() const { return client()->window(); }
  QWidget* PreviewFrame() const {
    HWND preview = MainWindowState.preview.window;
    return preview != nullptr ? korvanth::platform::ClientWidgetOf(preview)->window() : nullptr;
  }
  // The window a first start shows: terrain1 at 1x and 32, nothing else, no preview.
  void ExpectDefaults() {
    EXPECT_TRUE(Checked(IDM_FORMAT_TERRAIN1));
    EXPECT_TRUE(Checked(IDM_VIEW_ZOOM1));
    EXPECT_TRUE(Checked(IDM_TILE_SIZE_FIRST + 2));  // 32
    EXPECT_FALSE(Checked(IDM_FORMAT_COMPLETE));
    EXPECT_FALSE(Checked(TilesetCommand(kTilesetTargets[0])));
    EXPECT_FALSE(Checked(IDM_VIEW_PREVIEW));
    EXPECT_EQ(MainWindowState.preview.window, nullptr);
    EXPECT_TRUE(Checked(IDM_VIEW_STATUS_BAR));
  }

  std::optional<std::string> oldConfig_;
};

TEST_F(SettingsWindowTest, ChoicesMadeInTheMenusAreBackOnTheNextStart) {
  std::filesystem::create_directories(dir_.path() / "pictures");
  std::filesystem::create_directories(dir_.path() / "sheets");
  const std::string picture = SavePicture(PatternImage(200, 150), "pictures/tiles.png");
  StartAsProgram({"korvanth"});
  ExpectDefaults();
  dialogs_test::UserScript open;
  open.when([] { return dialogs_test::OpenFileDialog() != nullptr; },
            [&] { dialogs_test::TypeName(QString::fromStdString(picture)); })
      .when(dialogs_test::Always, [] { dialogs_test::PressEnter(); });
  open.start();
  Command(IDM_FILE_OPEN);
  EXPECT_FALSE(open.timedOut());
  EXPECT_FALSE(ClickAndSave(40, 40, "sheets/sheet.bmp").isNull());
  ChooseMenuItems(1, {"屋根(&R)"});
  ChooseMenuItems(1, {"タイルサイズ", "16"});
  ChooseMenuItems(1, {"全形状を追加(&C)"});
  ChooseMenuItems(1, {kTilesetTargets[0].menuCaption});
  ChooseMenuItems(3, {"3倍(&3)"});
  ChooseMenuItems(3, {"シートのプレビュー(&P)"});
  ChooseMenuItems(3, {"ステータス バー(&S)"});
  for (const auto& [item, colour] : {std::pair{"枠(&F)...", QColor(0, 0, 255)},
                                     std::pair{"背景(&B)...", QColor(0x12, 0x34, 0x56)}}) {
    dialogs_test::UserScript choose;
    choose
        .when(dialogs_test::ColourDialogShown,
              [colour] { dialogs_test::OpenColourDialog()->setCurrentColor(colour); })
        .when(dialogs_test::Always, [] {
          dialogs_test::Click(
              dialogs_test::DialogButton(dialogs_test::OpenColourDialog(), QDialogButtonBox::Ok));
        });
    choose.start();
    ChooseMenuItems(2, {item});
    EXPECT_TRUE(choose.finished()) << item;
  }
  ChooseMenuItems(4, {"&English"});
  ASSERT_NE(PreviewFrame(), nullptr);
  PreviewFrame()->move(321, 123);
  Frame()->resize(610, 470);
  Settle(50);
  const QPoint previewCorner = PreviewFrame()->frameGeometry().topLeft();
  EXPECT_EQ(CloseAndRunLoop(), 0);
  ASSERT_TRUE(std::filesystem::is_regular_file(SettingsFile()));

  StartAsProgram({"korvanth"});
  EXPECT_EQ(MainWindowState.picture.path, picture);  // the last picture, with no argument
  EXPECT_EQ(MainWindowState.picture.width, 200);
  EXPECT_TRUE(Checked(IDM_FORMAT_ROOF));
  EXPECT_TRUE(Checked(IDM_TILE_SIZE_FIRST));  // 16
  EXPECT_TRUE(Checked(IDM_FORMAT_COMPLETE));
  EXPECT_TRUE(Checked(TilesetCommand(kTilesetTargets[0])));
  EXPECT_FALSE(Checked(TilesetCommand(kTilesetTargets[1])));
  EXPECT_TRUE(Checked(IDM_VIEW_ZOOM3));
  EXPECT_TRUE(Checked(IDM_VIEW_PREVIEW));
  ASSERT_NE(PreviewFrame(), nullptr);
  EXPECT_TRUE(PreviewFrame()->isVisible());
  EXPECT_EQ(PreviewFrame()->frameGeometry().topLeft(), previewCorner);
  EXPECT_EQ(Frame()->size(), QSize(610, 470));
  EXPECT_EQ(MainWindowState.dialogs.pictureFolder, dir_.file("pictures"));
  EXPECT_EQ(MainWindowState.dialogs.saveExtension, "bmp");
  EXPECT_FALSE(Checked(IDM_VIEW_STATUS_BAR));
  EXPECT_FALSE(IsWindowVisible(MainWindowState.status.window));
  EXPECT_EQ(MainWindowState.recentPictures, std::vector<std::string>{picture});
  EXPECT_EQ(MainWindowState.view.colours[0], 0x00FF0000u);  // blue, as 0x00BBGGRR
  EXPECT_EQ(MainWindowState.view.colours[1], 0x00563412u);
  EXPECT_TRUE(Checked(IDM_LANGUAGE_ENGLISH));
  EXPECT_EQ(MainWindowState.language, UiLanguage::English);

  // --lang chooses for the run, and the window closes remembering it as the menu's choice.
  EXPECT_EQ(CloseAndRunLoop(), 0);
  StartAsProgram({"korvanth", "--lang", "ja"});
  EXPECT_TRUE(Checked(IDM_LANGUAGE_JAPANESE));
  EXPECT_EQ(CloseAndRunLoop(), 0);
  EXPECT_EQ(SettingsOnDisk().language, UiLanguage::Japanese);
}

TEST_F(SettingsWindowTest, DamagedFileGivesTheDefaultsAndIsReplacedOnClose) {
  WriteSettings("\0\xff\xfe garbage\nzoom=99\nformat=\npreview=maybe\n"s + std::string(5000, 'x'));
  const std::string picture = SavePicture(PatternImage(200, 150), "tiles.png");
  StartAsProgram({"korvanth", picture});
  ExpectDefaults();
  EXPECT_EQ(ViewRect().right, 513);
  EXPECT_EQ(ViewRect().bottom, 513);
  EXPECT_EQ(MainWindowState.picture.width, 200);
  Command(IDM_FORMAT_ROOF);
  EXPECT_TRUE(Checked(IDM_FORMAT_ROOF));
  EXPECT_EQ(CloseAndRunLoop(), 0);
  EXPECT_EQ(SettingsOnDisk().format, LayoutFormat::Roof);
  EXPECT_EQ(SettingsOnDisk().picture, picture);
}

TEST_F(SettingsWindowTest, AnythingButARegularFileIsLeftAloneWithTheDefaults) {
  namespace fs = std::filesystem;
  const fs::path file = SettingsFile();
  const fs::path elsewhere = dir_.path() / "elsewhere";
  const bool root = ::geteuid() == 0;
  struct Case {
    const char* what;
    std::function<void()> make;
    std::function<bool()> unchanged;  // the thing at the settings' name is still what it was
    bool needsRoot = false;
  };
  const auto isFifo = [&] { return fs::is_fifo(file); };
  const Case cases[] = {
      {"a folder",
       [&] {
         fs::create_directories(file);
         WriteBytes(file.string() + "/keep.txt", "mine");
       },
       [&] { return ReadBytes(file.string() + "/keep.txt") == "mine"; }},
      {"a FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, isFifo},
      {"a link to a FIFO",
       [&] {
         ASSERT_EQ(::mkfifo(elsewhere.c_str(), 0600), 0);
         fs::create_symlink(elsewhere, file);
       },
       [&] { return fs::is_symlink(file) && fs::is_fifo(elsewhere); }},
      // A private copy of /dev/zero's node: the machine's own is never put at risk.
      {"a link to a device",
       [&] {
         ASSERT_EQ(::mknod(elsewhere.c_str(), S_IFCHR | 0600, makedev(1, 5)), 0);
         fs::create_symlink(elsewhere, file);
       },
       [&] { return fs::is_symlink(file) && fs::is_character_file(elsewhere); }, true},
  };
  for (const Case& c : cases) {
    if (c.needsRoot && !root) continue;  // only the superuser makes device nodes
    for (const bool reset : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (reset ? " with --reset-settings" : ""));
      fs::remove_all(dir_.path() / "config");
      fs::remove(elsewhere);
      fs::create_directories(file.parent_path());
      c.make();
      // Started at once (a FIFO's reader would wait for a writer forever) with the defaults.
      StartAsProgram(reset ? std::vector<std::string>{"korvanth", "--reset-settings"}
                           : std::vector<std::string>{"korvanth"});
      ExpectDefaults();
      EXPECT_EQ(CloseAndRunLoop(), 0);
      EXPECT_TRUE(c.unchanged());
    }
  }
}

TEST_F(SettingsWindowTest, AByteOrderMarkIsSkippedAndABadLineIsIgnoredAlone) {
  WriteSettings(
      "\xEF\xBB\xBF"
      "format=roof\nzoom=2\x01\nzoom=\xFF\npreview=yes\n");
  StartAsProgram({"korvanth"});
  EXPECT_TRUE(Checked(IDM_FORMAT_ROOF));
  EXPECT_TRUE(Checked(IDM_VIEW_ZOOM1));
  EXPECT_NE(MainWindowState.preview.window, nullptr);
  EXPECT_EQ(CloseAndRunLoop(), 0);
}

TEST_F(SettingsWindowTest, ResetSettingsStartsFromTheDefaultsWithThePictureGiven) {
  const std::string remembered = SavePicture(PatternImage(90, 80), "remembered.png");
  const std::string picture = SavePicture(PatternImage(200, 150), "tiles.png");
  WriteSettings("format=roof\nzoom=4\npreview=yes\nwindow-width=700\nwindow-height=500\npicture=" +
                remembered + "\n");
  StartAsProgram({"korvanth", "--reset-settings", picture});
  ExpectDefaults();
  EXPECT_EQ(MainWindowState.picture.path, picture);
  EXPECT_EQ(ClientRect().right, 513);
  EXPECT_EQ(CloseAndRunLoop(), 0);
  EXPECT_EQ(SettingsOnDisk().format, LayoutFormat::Terrain1);
  EXPECT_EQ(SettingsOnDisk().picture, picture);

  StartAsProgram({"korvanth", "--reset-settings"});
  ExpectDefaults();
  EXPECT_FALSE(MainWindowState.picture.exists());
}

// Expected from the screen Qt reports: 80 % of its available area, as far as the picture
// needs it, never below a 513 x 513 view (scroll bars included; the status bar is the
// frame's).
TEST_F(SettingsWindowTest, FirstSizeShowsTheWholePictureUpToEightyPercentOfTheScreen) {
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const auto inner = [this] {
    const QScrollBar* horizontal = korvanth::platform::StandardScrollBar(window(), SB_HORZ);
    const QScrollBar* vertical = korvanth::platform::StandardScrollBar(window(), SB_VERT);
    return QSize(ViewRect().right + (vertical->isVisible() ? vertical->width() : 0),
                 ViewRect().bottom + (horizontal->isVisible() ? horizontal->height() : 0));
  };
  Restart({"korvanth", SavePicture(PatternImage(100, 80), "small.png")});
  EXPECT_EQ(inner(), QSize(513, 513));
  const QSize frame = Frame()->size() - inner();

  const int roomWidth = available.width() * 8 / 10 - frame.width();
  const int roomHeight = available.height() * 8 / 10 - frame.height();
  ASSERT_GT(roomWidth, 540) << "a screen this small tests nothing";
  Restart({"korvanth", SavePicture(PatternImage(540, 60), "wide.png")});
  EXPECT_EQ(inner(), QSize(540, 513));
  EXPECT_EQ(ClientRect().right, 540);  // no bar: the whole width shows

  Restart({"korvanth", SavePicture(PatternImage(3000, 2000), "large.png")});
  EXPECT_EQ(Frame()->width(), available.width() * 8 / 10);
  EXPECT_EQ(inner().height(), std::max(roomHeight, 513));
}

}  // namespace

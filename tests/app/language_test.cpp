// The window in either language: every menu caption of the real window, the switch through
// the 言語 menu (menu, preview title, a box's headline and cause), and the command line's
// --help, --version and --lang.
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/menu_resource.h"
#include "app/window_messages.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "korvanth_version.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"
#include "support/program_run.h"

using namespace korvanth;

namespace {

struct Caption {
  int depth;
  std::string text;
  friend bool operator==(const Caption&, const Caption&) = default;
};

// The Japanese menu as the described program and the later rounds have it, written out.
const std::vector<Caption> kJapaneseMenu = {
    {0, "ﾌｧｲﾙ(&F)"},
    {1, "開く(&O)...\tCtrl+O"},
    {1, "最近使ったファイル(&R)"},
    {2, "(なし)"},
    {1, "ピクチャ全体を書き出す(&A)..."},
    {1, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)\tCtrl+Q"},
    {0, "形式(&F)"},
    {1, "地形1(&L)"},
    {1, "地形2(&A)"},
    {1, "屋根(&R)"},
    {1, "全形状を追加(&C)"},
    {1, "タイルサイズ"},
    {2, "16"},
    {2, "24"},
    {2, "32"},
    {2, "48"},
    {2, "64"},
    {1, "Tiled用タイルセットも保存(&T)"},
    {1, "Godot用タイルセットも保存(&G)"},
    {1, "ブロックマップを編集(&M)"},
    {0, "色(&C)"},
    {1, "枠(&F)..."},
    {1, "背景(&B)..."},
    {0, "表示(&V)"},
    {1, "等倍(&1)\tCtrl+0"},
    {1, "2倍(&2)"},
    {1, "3倍(&3)"},
    {1, "4倍(&4)"},
    {1, "5倍(&5)"},
    {1, "6倍(&6)"},
    {1, "7倍(&7)"},
    {1, "8倍(&8)"},
    {1, "シートのプレビュー(&P)"},
    {1, "ステータス バー(&S)"},
    {0, "言語(&L)"},
    {1, "日本語(&J)"},
    {1, "&English"},
};

// The letter after a lone '&' in a caption, lower case; 0 for none.
char Mnemonic(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::tolower(caption[i + 1]));
    ++i;
  }
  return 0;
}

bool IsAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

class LanguageTest : public MainWindowFixture {
 protected:
  // Every caption of the window's menu bar, popups and submenus, as Qt shows them.
  std::vector<Caption> MenuCaptions() const {
    std::vector<Caption> captions;
    Walk(MenuBar()->actions(), 0, captions);
    return captions;
  }

  // The popups' items by menu (the bar first), for the mnemonics.
  static void Walk(const QList<QAction*>& actions, int depth, std::vector<Caption>& captions) {
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      captions.push_back({depth, action->text().toStdString()});
      if (action->menu() != nullptr) Walk(action->menu()->actions(), depth + 1, captions);
    }
  }

  QString PreviewTitle() const {
    return korvanth::platform::ClientWidgetOf(MainWindowState.preview.window)
        ->window()
        ->windowTitle();
  }
};

TEST_F(LanguageTest, EveryCaptionInJapaneseIsAsBeforeAndInEnglishIsEnglishWithDistinctMnemonics) {
  EXPECT_EQ(MenuCaptions(), kJapaneseMenu);

  Restart({"korvanth", "--lang", "en"});
  const std::vector<Caption> english = MenuCaptions();
  ASSERT_EQ(english.size(), kJapaneseMenu.size());
  // The menu's mnemonics, one set for the bar and one for each popup, by its opening line.
  std::vector<std::set<char>> mnemonics(1);
  std::vector<std::size_t> open{0};  // the set of each depth's current menu
  for (std::size_t i = 0; i < english.size(); ++i) {
    const Caption& caption = english[i];
    SCOPED_TRACE(caption.text);
    EXPECT_EQ(caption.depth, kJapaneseMenu[i].depth);
    // The one Japanese caption left is the language item that names Japanese in Japanese.
    EXPECT_TRUE(IsAscii(caption.text) || caption.text == "日本語(&J)");
    open.resize(static_cast<std::size_t>(caption.depth) + 1);
    const char letter = Mnemonic(caption.text);
    if (letter != 0) {
      EXPECT_TRUE(mnemonics[open.back()].insert(letter).second);
    }
    if (i + 1 < english.size() && english[i + 1].depth > caption.depth) {
      open.push_back(mnemonics.size());
      mnemonics.emplace_back();
    }
  }
  EXPECT_EQ(english[0].text, "&File");
  const auto format = std::find(kJapaneseMenu.begin(), kJapaneseMenu.end(), Caption{0, "形式(&F)"});
  ASSERT_NE(format, kJapaneseMenu.end());
  EXPECT_EQ(english[static_cast<std::size_t>(format - kJapaneseMenu.begin())].text, "F&ormat");
}

TEST_F(LanguageTest, TheLanguageMenuSwitchesMenuPreviewAndBoxesAtOnceAndBack) {
  const std::string grass = SavePicture(Solid(64, 96, 0xFF203040), "grass.png");
  Load(grass);
  Command(IDM_VIEW_PREVIEW);
  ASSERT_NE(MainWindowState.preview.window, nullptr);
  EXPECT_EQ(PreviewTitle(), QString::fromUtf8("シートのプレビュー"));
  const std::string broken = dir_.file("broken.png");
  WriteBytes(broken, "not a picture");
  struct Case {
    const char* item;  // in the 言語 menu
    UINT command;
    std::string menuBar;  // the bar's first caption
    QString preview;
    std::string box;
  };
  const Case cases[] = {
      {"&English", IDM_LANGUAGE_ENGLISH, "&File", QStringLiteral("Sheet Preview"),
       "Could not open the picture.\n" + broken +
           "\n(not a picture in a format Korvanth reads (BMP, GIF, PNG, TIFF, JPEG))"},
      {"日本語(&J)", IDM_LANGUAGE_JAPANESE, "ﾌｧｲﾙ(&F)", QString::fromUtf8("シートのプレビュー"),
       "開けませんでした。\n" + broken +
           "\n(Korvanthが読める形式（BMP、GIF、PNG、TIFF、JPEG）の画像ではありません)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    Load(grass);
    ChooseMenuItems(4, {c.item});
    EXPECT_EQ(MenuBar()->actions()[0]->text().toStdString(), c.menuBar);
    EXPECT_TRUE(GetMenuState(GetMenu(window()), c.command, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(PreviewTitle(), c.preview);
    // The title names the picture alone, in any language.
    EXPECT_EQ(client()->window()->windowTitle(), QStringLiteral("grass.png - Korvanth"));
    EXPECT_EQ(Load(broken).toStdString(), c.box);
  }
}

TEST(WindowMessagesTest, ExportCountsInEitherLanguage) {
  struct Case {
    int placed, skipped;
    UiLanguage language;
    const char* text;
  };
  for (const Case& c : {
           Case{5, 1, UiLanguage::Japanese,
                "5個のブロックを書き出しました（空のブロック 1個は飛ばしました）。"},
           Case{5, 1, UiLanguage::English, "Exported 5 blocks (skipped 1 empty block)."},
           Case{1, 0, UiLanguage::English, "Exported 1 block (skipped 0 empty blocks)."},
       })
    EXPECT_EQ(ExportCountsText(c.placed, c.skipped, c.language), c.text);
}

TEST(WindowCommandLineTest, OptionsPictureAndAnswers) {
  using Action = WindowCommandLine::Action;
  struct Case {
    std::vector<const char*> arguments;  // after the program's name
    Action action;
    const char* picture;  // null: none
    std::optional<UiLanguage> language;
    bool reset;
    std::string problem;
  };
  const Case cases[] = {
      {{}, Action::Run, nullptr, {}, false, ""},
      {{"a.png", "b.png"}, Action::Run, "a.png", {}, false, ""},
      {{"--lang", "en", "a.png"}, Action::Run, "a.png", UiLanguage::English, false, ""},
      {{"a.png", "--lang=ja", "--reset-settings"},
       Action::Run,
       "a.png",
       UiLanguage::Japanese,
       true,
       ""},
      {{"--lang", "en", "--lang", "ja"}, Action::Run, nullptr, UiLanguage::Japanese, false, ""},
      {{"--", "--help"}, Action::Run, "--help", {}, false, ""},
      {{"-", "-x.png"}, Action::Run, "-", {}, false, ""},
      {{"-h"}, Action::Help, nullptr, {}, false, ""},
      {{"a.png", "--help", "--bogus"}, Action::Help, nullptr, {}, false, ""},
      {{"--version"}, Action::Version, nullptr, {}, false, ""},
      {{"--bogus"}, Action::UsageError, nullptr, {}, false, "unknown option --bogus"},
      {{"--Lang", "en"}, Action::UsageError, nullptr, {}, false, "unknown option --Lang"},
      {{"--lang"}, Action::UsageError, nullptr, {}, false, "--lang needs a value: ja or en"},
      {{"--lang", "EN"}, Action::UsageError, nullptr, {}, false, "--lang takes ja or en, not 'EN'"},
      {{"--lang="}, Action::UsageError, nullptr, {}, false, "--lang takes ja or en, not ''"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"korvanth"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const WindowCommandLine command =
        ParseWindowCommandLine(static_cast<int>(argv.size()), argv.data());
    SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
    EXPECT_EQ(command.action, c.action);
    EXPECT_EQ(command.problem, c.problem);
    if (c.action != Action::Run) continue;
    EXPECT_EQ(command.picture, c.picture ? std::optional<std::string>(c.picture) : std::nullopt);
    EXPECT_EQ(command.language, c.language);
    EXPECT_EQ(command.resetSettings, c.reset);
  }
}

// The built program: what it prints where, and its exit status, before any window; with
// no display it still answers, and says so when it needs a window.
TEST(WindowProgramTest, HelpVersionAndUsageErrorsPrintAndEnd) {
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string outStart;  // what stdout begins with
    std::string errLine;   // a line stderr holds; empty: no usage line
    bool display = true;   // false: run with no display at all
  };
  const Case cases[] = {
      {{"--help"}, 0, "Usage: korvanth [--lang ja|en] [--reset-settings] [--] [PICTURE]\n", ""},
      {{"-h", "tiles.png"}, 0, "Usage: korvanth", ""},
      {{"--version"}, 0, std::string("korvanth ") + KORVANTH_VERSION + "\n", ""},
      {{"--bogus"}, 2, "", "korvanth: unknown option --bogus\nTry 'korvanth --help'.\n"},
      {{"--lang", "fr"}, 2, "", "korvanth: --lang takes ja or en, not 'fr'\n"},
      {{"--help"}, 0, "Usage: korvanth", "", false},
      {{"--lang", "en"}, 1, "", "korvanth: the window could not be created\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + (c.display ? "" : " without a display"));
    std::vector<std::string> arguments = c.arguments;
    if (!c.display)
      arguments.insert(arguments.begin(), {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                                           "QT_QPA_PLATFORM", KORVANTH_WINDOW_EXE});
    const ProgramRun run = RunProgram(c.display ? KORVANTH_WINDOW_EXE : "/usr/bin/env", arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out.rfind(c.outStart, 0), 0u) << run.out;
    if (c.outStart.empty()) {
      EXPECT_EQ(run.out, "");
    }
    if (c.errLine.empty()) {
      EXPECT_EQ(run.err.find("korvanth:"), std::string::npos) << run.err;
    } else {
      EXPECT_NE(run.err.find(c.errLine), std::string::npos) << run.err;
    }
  }
}

}  // namespace

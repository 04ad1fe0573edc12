// The Open and Save dialogs driven as a user drives them: typing into the file-name
// field, choosing a file type, pressing the buttons, answering the overwrite question.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dialogs_support.h"
#include "platform/linux/dialogs_internal.h"
#include "support/test_files.h"

using namespace dialogs_test;

namespace {

// The Save dialog's file types as the shell hands them over.
constexpr char kSaveFilter[] =
    "PNG (*.png)\0*.png\0ビットマップ (*.bmp)\0*.bmp\0すべてのファイル (*.*)\0*.*\0";
const char* const kSaveExtensions[] = {"png", "bmp", ""};

constexpr char kOpenFilter[] =
    "画像ファイル (*.bmp; gif; png; tif)\0*.bmp;*.dib;*.rle;*.gif;*.png;*.tif\0"
    "ビットマップ (*.bmp; dib; rle)\0*.bmp;*.dib;*.rle\0"
    "GIF (*.gif)\0*.gif\0"
    "PNG (*.png)\0*.png\0"
    "TIFF (*.tif; tiff)\0*.tif;*.tiff\0"
    "すべてのファイル (*.*)\0*.*\0";

// What the hook saw.
struct HookLog {
  std::vector<UINT> messages;
  std::vector<DWORD> typeChanges;
  HWND hookWindow = nullptr;
  HWND hookParent = nullptr;
  HWND hookGrandParent = nullptr;
  HWND notifyFrom = nullptr;
  LPARAM initParam = 0;
  OPENFILENAMEA* notifiedRecord = nullptr;
  bool rename = true;
  std::vector<std::string> fieldBefore;
};
HookLog* hookLog = nullptr;

// A hook that renames the field's extension on a type change, through the same calls
// the shell's hook makes.
UINT_PTR RecordingHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  hookLog->messages.push_back(message);
  if (message == WM_INITDIALOG) {
    hookLog->hookWindow = dialog;
    hookLog->hookParent = GetParent(dialog);
    hookLog->hookGrandParent = GetParent(GetParent(dialog));
    hookLog->initParam = lParam;
    return 0;
  }
  if (message != WM_NOTIFY) return 0;
  auto* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
  if (notify->hdr.code != CDN_TYPECHANGE) return 0;
  hookLog->typeChanges.push_back(notify->lpOFN->nFilterIndex);
  hookLog->notifyFrom = notify->hdr.hwndFrom;
  hookLog->notifiedRecord = notify->lpOFN;
  char text[260] = {};
  SendDlgItemMessageA(GetParent(dialog), 1152, WM_GETTEXT, sizeof text,
                      reinterpret_cast<LPARAM>(text));
  hookLog->fieldBefore.push_back(text);
  if (!hookLog->rename || text[0] == '\0') return 1;
  std::string name = text;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  name += std::string(".") + kSaveExtensions[notify->lpOFN->nFilterIndex - 1];
  SendDlgItemMessageA(GetParent(dialog), 1152, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(name.c_str()));
  return 1;
}

// Steps through the file types with the arrow keys until `index` is current.
void StepToType(int index) {
  QComboBox* types = TypeBox();
  Focus(types);
  for (int guard = 0; guard < 10 && types->currentIndex() != index; ++guard)
    PressKey(types, types->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_ = HookLog{};
    hookLog = &log_;
    std::memset(file_, 0, sizeof file_);
    dir_ = scratch_.path().string();
  }
  void TearDown() override { hookLog = nullptr; }

  OPENFILENAMEA SaveRecord() {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = &owner_;
    ofn.lpstrFilter = kSaveFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file_;
    ofn.nMaxFile = sizeof file_;
    ofn.lpstrInitialDir = dir_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    ofn.lpfnHook = RecordingHook;
    return ofn;
  }

  std::string InDir(const std::string& name) const { return scratch_.file(name); }

  ScratchDir scratch_;
  std::string dir_;
  TestOwner owner_;
  HookLog log_;
  char file_[260];
};

TEST_F(FileDialogTest, TypedNameComesBackAsFullPathWithoutAnyExtensionAdded) {
  OPENFILENAMEA ofn = SaveRecord();
  UserScript script;
  script.when(FileDialogShown, [] { TypeText(NameField(), QStringLiteral("sheet")); })
      .when(Always, ClickSave);
  script.start();
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_FALSE(script.timedOut());
  EXPECT_TRUE(script.finished());
  const std::string expected = InDir("sheet");
  EXPECT_EQ(std::string(file_), expected);
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  EXPECT_EQ(ofn.nFileOffset, expected.size() - 5);
  EXPECT_EQ(ofn.nFileExtension, expected.size());  // no extension: the terminator
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogTest, HookHearsInitDialogThenEachTypeChangeAndRenamesTheField) {
  OPENFILENAMEA ofn = SaveRecord();
  std::vector<QString> fieldAfter;
  UserScript script;
  script.when(FileDialogShown, [] { TypeText(NameField(), QStringLiteral("sheet.png")); })
      .when(Always,
            [&] {
              ChooseType(1);
              fieldAfter.push_back(NameField()->text());
            })
      .when(Always,
            [&] {
              ChooseType(2);
              fieldAfter.push_back(NameField()->text());
            })
      .when(Always,
            [&] {
              ChooseType(0);
              fieldAfter.push_back(NameField()->text());
            })
      .when(Always, ClickSave);
  script.start();
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_FALSE(script.timedOut());

  ASSERT_FALSE(log_.messages.empty());
  EXPECT_EQ(log_.messages.front(), static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(log_.initParam, reinterpret_cast<LPARAM>(&ofn));
  EXPECT_EQ(log_.typeChanges, (std::vector<DWORD>{2, 3, 1}));
  EXPECT_EQ(log_.notifiedRecord, &ofn);
  ASSERT_NE(log_.hookWindow, nullptr);
  ASSERT_NE(log_.hookParent, nullptr);
  EXPECT_NE(log_.hookParent, log_.hookWindow);
  EXPECT_EQ(log_.notifyFrom, log_.hookParent);
  EXPECT_EQ(log_.hookGrandParent, static_cast<HWND>(&owner_));
  // Before each notification the field still held exactly what the user or the hook
  // last put there: Qt never rewrote the suffix on its own.
  EXPECT_EQ(log_.fieldBefore, (std::vector<std::string>{"sheet.png", "sheet.bmp", "sheet."}));
  EXPECT_EQ(fieldAfter, (std::vector<QString>{QStringLiteral("sheet.bmp"), QStringLiteral("sheet."),
                                              QStringLiteral("sheet.png")}));
  EXPECT_EQ(std::string(file_), InDir("sheet.png"));
  EXPECT_EQ(ofn.nFilterIndex, 1u);
}

// One name typed and one type picked (before or after typing): the field as the pick left
// it, what the hook heard, and the name and type returned. Only the hook renames the
// field; without one, the field is left alone and the type still comes back.
TEST_F(FileDialogTest, OneTypePickedAroundTypingComesBackWithTheName) {
  struct Case {
    const char* what;
    bool hook, rename, pickFirst;
    const char* typed;
    int picked;
    const char* fieldAfterPick;
    std::vector<DWORD> typeChanges;
    std::vector<std::string> fieldBefore;  // at each type change
    UINT index;
  };
  const Case cases[] = {
      {"hook keeps it", true, false, false, "sheet.png", 1, "sheet.png", {2}, {"sheet.png"}, 2},
      {"no hook", false, false, false, "my.sheet.png", 1, "my.sheet.png", {}, {}, 2},
      {"picked before typing", true, true, true, "sheet", 1, "", {2}, {""}, 2},
      {"the current type again", true, true, false, "sheet.jpg", 0, "sheet.jpg", {}, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    log_ = HookLog{};
    log_.rename = c.rename;
    std::memset(file_, 0, sizeof file_);
    OPENFILENAMEA ofn = SaveRecord();
    if (!c.hook) {
      ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
      ofn.lpfnHook = nullptr;
    }
    QString afterPick = QStringLiteral("unset");
    const auto type = [&] { TypeText(NameField(), QString::fromUtf8(c.typed)); };
    const auto pick = [&] {
      ChooseType(c.picked);
      afterPick = NameField()->text();
    };
    UserScript script;
    script.when(FileDialogShown, c.pickFirst ? std::function<void()>(pick) : type)
        .when(Always, c.pickFirst ? std::function<void()>(type) : pick)
        .when(Always, ClickSave);
    script.start();
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(afterPick, QString::fromUtf8(c.fieldAfterPick));
    EXPECT_EQ(log_.typeChanges, c.typeChanges);
    EXPECT_EQ(log_.fieldBefore, c.fieldBefore);
    EXPECT_EQ(log_.messages.empty(), !c.hook);
    EXPECT_EQ(std::string(file_), InDir(c.typed));
    EXPECT_EQ(ofn.nFilterIndex, c.index);
  }
}

TEST_F(FileDialogTest, TypeBoxShowsTheDescriptionsAsTheyAreAndStartsOnTheGivenIndex) {
  OPENFILENAMEA ofn = SaveRecord();
  ofn.nFilterIndex = 2;
  QStringList shown;
  int startIndex = -1;
  QString title;
  UserScript script;
  script.when(FileDialogShown, [&] {
    for (int i = 0; i < TypeBox()->count(); ++i) shown.append(TypeBox()->itemText(i));
    startIndex = TypeBox()->currentIndex();
    OpenFileDialog()->reject();
  });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(shown,
            (QStringList{QStringLiteral("PNG (*.png)"), QStringLiteral("ビットマップ (*.bmp)"),
                         QStringLiteral("すべてのファイル (*.*)")}));
  EXPECT_EQ(startIndex, 1);
}

TEST_F(FileDialogTest, CancelReturnsZeroAndLeavesTheBufferAlone) {
  OPENFILENAMEA ofn = SaveRecord();
  UserScript script;
  script.when(FileDialogShown, [] { TypeText(NameField(), QStringLiteral("sheet")); })
      .when(Always, [] { Click(DialogButton(OpenFileDialog(), QDialogButtonBox::Cancel)); });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(file_[0], '\0');
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(korvanth::platform::ActiveFileDialog(), nullptr);
}

TEST_F(FileDialogTest, EscapeClosesTheDialogLikeCancel) {
  OPENFILENAMEA ofn = SaveRecord();
  UserScript script;
  script.when(FileDialogShown, [] { PressKey(NameField(), Qt::Key_Escape); });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_FALSE(script.timedOut());
}

TEST_F(FileDialogTest, OverwriteQuestionDeclinedKeepsTheDialogOpenAcceptedReturnsTheName) {
  WriteBytes(InDir("sheet.png"), "old");
  OPENFILENAMEA ofn = SaveRecord();
  bool stillOpenAfterNo = false;
  int questions = 0;
  UserScript script;
  script.when(FileDialogShown, [] { TypeText(NameField(), QStringLiteral("sheet.png")); })
      .when(Always, PressEnter)
      .when([] { return ModalOnTop<QMessageBox>() != nullptr; },
            [&] {
              ++questions;
              Click(DialogButton(ModalOnTop<QMessageBox>(), QMessageBox::No));
            })
      .when([] { return ModalOnTop<QFileDialog>() != nullptr; },
            [&] {
              stillOpenAfterNo = OpenFileDialog() != nullptr;
              ClickSave();
            })
      .when([] { return ModalOnTop<QMessageBox>() != nullptr; },
            [&] {
              ++questions;
              Click(DialogButton(ModalOnTop<QMessageBox>(), QMessageBox::Yes));
            });
  script.start();
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_FALSE(script.timedOut());
  EXPECT_TRUE(stillOpenAfterNo);
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(std::string(file_), InDir("sheet.png"));
  EXPECT_EQ(ReadBytes(InDir("sheet.png")), "old");  // the dialog itself writes nothing
}

// Enter returns the typed name without a question where none is due: a name without an
// extension beside an existing completed one, or any name without OFN_OVERWRITEPROMPT.
TEST_F(FileDialogTest, EnterAsksNothingWhereNoQuestionIsDue) {
  WriteBytes(InDir("sheet.png"), "old");
  const std::pair<const char*, DWORD> cases[] = {{"sheet", 0}, {"sheet.png", OFN_OVERWRITEPROMPT}};
  for (const auto& [typed, flagOff] : cases) {
    SCOPED_TRACE(typed);
    std::memset(file_, 0, sizeof file_);
    OPENFILENAMEA ofn = SaveRecord();
    ofn.Flags &= ~flagOff;
    UserScript script;
    script.when(FileDialogShown, [&] { TypeText(NameField(), QString::fromUtf8(typed)); })
        .when(Always, PressEnter);
    script.start();
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(std::string(file_), InDir(typed));
  }
}

TEST_F(FileDialogTest, PathLongerThanTheBufferIsRefusedWithoutOverflow) {
  struct {
    char file[16];
    char guard[16];
  } buffer;
  std::memset(buffer.file, 0, sizeof buffer.file);
  std::memset(buffer.guard, 0x5A, sizeof buffer.guard);
  OPENFILENAMEA ofn = SaveRecord();
  ofn.lpstrFile = buffer.file;
  ofn.nMaxFile = sizeof buffer.file;
  UserScript script;
  script
      .when(FileDialogShown,
            [] { TypeText(NameField(), QStringLiteral("a-rather-long-sheet-name.png")); })
      .when(Always, ClickSave);
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  const std::size_t needed = InDir("a-rather-long-sheet-name.png").size() + 1;
  EXPECT_EQ(static_cast<unsigned char>(buffer.file[0]), needed & 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(buffer.file[1]), needed >> 8);
  for (std::size_t i = 2; i < sizeof buffer.file; ++i) EXPECT_EQ(buffer.file[i], 0) << i;
  for (char c : buffer.guard) EXPECT_EQ(c, 0x5A);
}

TEST_F(FileDialogTest, DialogIsWindowModalToItsOwner) {
  OPENFILENAMEA ofn = SaveRecord();
  QWidget* parent = nullptr;
  Qt::WindowModality modality = Qt::NonModal;
  UserScript script;
  script.when(FileDialogShown, [&] {
    parent = OpenFileDialog()->parentWidget();
    modality = OpenFileDialog()->windowModality();
    OpenFileDialog()->reject();
  });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(parent, owner_.widget());
  EXPECT_EQ(modality, Qt::WindowModal);
}

TEST_F(FileDialogTest, HookReadsTheFieldIntoSmallBuffersWithoutOverflow) {
  OPENFILENAMEA ofn = SaveRecord();
  struct {
    char text[5];
    char guard[8];
  } small;
  LRESULT copied = -1, copiedWide = -1, length = -1, setResult = -1;
  std::string narrow, wide;
  QString afterSet;
  UserScript script;
  script.when(FileDialogShown, [] { TypeText(NameField(), QStringLiteral("画像.png")); })
      .when(Always, [&] {
        HWND dialog = GetParent(log_.hookWindow);
        std::memset(&small, 0x5A, sizeof small);
        copiedWide = SendDlgItemMessageA(dialog, 1152, WM_GETTEXT, sizeof small.text,
                                         reinterpret_cast<LPARAM>(small.text));
        wide = small.text;
        length = SendDlgItemMessageA(dialog, cmb13, WM_GETTEXTLENGTH, 0, 0);
        setResult =
            SendDlgItemMessageA(dialog, 1152, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("sheet.png"));
        afterSet = NameField()->text();
        copied =
            SendDlgItemMessageA(dialog, 1152, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small.text));
        narrow = small.text;
        OpenFileDialog()->reject();
      });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  // "画" is 3 bytes and "像" 3 more: 4 usable bytes hold only the first character.
  EXPECT_EQ(copiedWide, 3);
  EXPECT_EQ(wide, "画");
  EXPECT_EQ(length, static_cast<LRESULT>(std::strlen("画像.png")));
  EXPECT_EQ(setResult, TRUE);
  EXPECT_EQ(afterSet, QStringLiteral("sheet.png"));
  EXPECT_EQ(copied, 3);
  EXPECT_EQ(narrow, "she");
  for (char c : small.guard) EXPECT_EQ(c, 0x5A);
  // Unknown controls and null dialogs answer 0.
  EXPECT_EQ(SendDlgItemMessageA(nullptr, 1152, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetParent(nullptr), nullptr);
}

TEST_F(FileDialogTest, OpenDialogReturnsATypedNameOfAMissingFile) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = &owner_;
  ofn.lpstrFilter = kOpenFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file_;
  ofn.nMaxFile = sizeof file_;
  ofn.lpstrInitialDir = dir_.c_str();
  ofn.Flags = OFN_HIDEREADONLY;
  QStringList shown;
  int startIndex = -1;
  UserScript script;
  script
      .when(FileDialogShown,
            [&] {
              for (int i = 0; i < TypeBox()->count(); ++i) shown.append(TypeBox()->itemText(i));
              startIndex = TypeBox()->currentIndex();
              TypeText(NameField(), QStringLiteral("missing.png"));
            })
      .when(Always, [] { Click(DialogButton(OpenFileDialog(), QDialogButtonBox::Open)); });
  script.start();
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(std::string(file_), InDir("missing.png"));
  EXPECT_EQ(startIndex, 0);
  ASSERT_EQ(shown.size(), 6);
  EXPECT_EQ(shown.first(), QStringLiteral("画像ファイル (*.bmp; gif; png; tif)"));
  EXPECT_EQ(shown.last(), QStringLiteral("すべてのファイル (*.*)"));
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  EXPECT_EQ(ofn.nFileExtension, InDir("missing.").size());
}

TEST_F(FileDialogTest, OpenDialogListsOnlyTheChosenTypeAndReturnsTheIndex) {
  WriteBytes(InDir("a.png"), "x");
  WriteBytes(InDir("b.gif"), "x");
  WriteBytes(InDir("noext"), "x");
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(OPENFILENAMEA);
  ofn.hwndOwner = &owner_;
  ofn.lpstrFilter = kOpenFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file_;
  ofn.nMaxFile = sizeof file_;
  ofn.lpstrInitialDir = dir_.c_str();
  ofn.Flags = OFN_HIDEREADONLY;
  QStringList bitmapPatterns, allPatterns;
  UserScript script;
  script
      .when(FileDialogShown,
            [&] {
              StepToType(1);
              bitmapPatterns = OpenFileDialog()->findChild<QFileSystemModel*>()->nameFilters();
              StepToType(5);
              allPatterns = OpenFileDialog()->findChild<QFileSystemModel*>()->nameFilters();
            })
      .when(Always, [] { TypeText(NameField(), QStringLiteral("noext")); })
      .when(Always, PressEnter);
  script.start();
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(ofn.nFilterIndex, 6u);
  EXPECT_EQ(std::string(file_), InDir("noext"));
  // The file list follows the chosen type; "*.*" lists files without a dot too.
  EXPECT_EQ(bitmapPatterns, (QStringList{QStringLiteral("*.bmp"), QStringLiteral("*.dib"),
                                         QStringLiteral("*.rle")}));
  EXPECT_EQ(allPatterns, QStringList{QStringLiteral("*")});
}

TEST_F(FileDialogTest, RecordOfUnknownSizeIsRefusedWithoutADialog) {
  OPENFILENAMEA ofn = SaveRecord();
  ofn.lStructSize = 12;
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_EQ(korvanth::platform::ActiveFileDialog(), nullptr);
  EXPECT_FALSE(GetOpenFileNameA(nullptr));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

TEST_F(FileDialogTest, OwnerGoingAwayWhileTheDialogShowsEndsItAsCancelled) {
  OPENFILENAMEA ofn = SaveRecord();
  UserScript script;
  script.when(FileDialogShown, [&] {
    TypeText(NameField(), QStringLiteral("sheet"));
    owner_.destroyWidget();
  });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(file_[0], '\0');
  EXPECT_EQ(korvanth::platform::ActiveFileDialog(), nullptr);
}

}  // namespace

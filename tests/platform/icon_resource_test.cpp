// The program's icon: registered in place of an icon resource, found by LoadIconA under
// the program's module, taken from the desktop theme when it has the icon and from the
// program's own pictures otherwise, and shown as the window's icon.
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/linux/top_level_window.h"
#include "gui_support/win32_test_calls.h"

namespace {

// Each test registers under a number of its own, as registrations last for the process.
constexpr WORD kUnregisteredId = 32512;
constexpr WORD kFallbackId = 4001;
constexpr WORD kThemeId = 4002;
constexpr WORD kNothingId = 4003;
constexpr QRgb kFallbackColour = qRgb(0x7c, 0xb3, 0x42);
constexpr QRgb kThemeColour = qRgb(0x29, 0xb6, 0xf6);

void WritePicture(const QString& path, int size, QRgb colour) {
  QImage picture(size, size, QImage::Format_ARGB32);
  picture.fill(colour);
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
  ASSERT_TRUE(picture.save(path, "PNG"));
}

// The pictures the program carries: one per size, in NxN folders as the build lays them.
QString FallbackFolder(const QTemporaryDir& dir) {
  const QString folder = dir.filePath("fallback");
  for (int size : {16, 32, 48}) {
    WritePicture(QStringLiteral("%1/%2x%2/korvanth.png").arg(folder).arg(size), size,
                 kFallbackColour);
  }
  return folder;
}

// A desktop icon theme holding "korvanth-theme-test" at 16 and 32 pixels.
void InstallTestTheme(const QTemporaryDir& dir) {
  const QString theme = dir.filePath("icons/hicolor");
  ASSERT_TRUE(QDir().mkpath(theme));
  QFile index(theme + "/index.theme");
  ASSERT_TRUE(index.open(QIODevice::WriteOnly));
  index.write(
      "[Icon Theme]\nName=hicolor\nDirectories=16x16/apps,32x32/apps\n\n"
      "[16x16/apps]\nSize=16\nType=Fixed\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
  index.close();
  for (int size : {16, 32}) {
    WritePicture(QStringLiteral("%1/%2x%2/apps/korvanth-theme-test.png").arg(theme).arg(size), size,
                 kThemeColour);
  }
  QIcon::setThemeSearchPaths({dir.filePath("icons")});
  QIcon::setThemeName("hicolor");
}

QRgb CentreOf(const QIcon& icon, int size) {
  const QImage image = icon.pixmap(size, size).toImage();
  return image.pixel(image.width() / 2, image.height() / 2);
}

// A window of a class whose icon is `icon`; its frame widget shows the window's icon.
struct IconWindow {
  explicit IconWindow(HICON icon) {
    static int serial = 0;
    className = "KorvanthIconTest" + std::to_string(++serial);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className.c_str();
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    hwnd = CreateWindowExA(0, className.c_str(), "icon", 0, CW_USEDEFAULT, CW_USEDEFAULT, 200, 200,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~IconWindow() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  QIcon shown() const { return hwnd != nullptr ? hwnd->widget()->windowIcon() : QIcon(); }

  std::string className;
  HWND hwnd = nullptr;
};

TEST(ProgramIcon, NoneUntilTheProgramRegistersOne) {
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kUnregisteredId)), nullptr);
  // The system's own icon is there all along.
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
}

TEST(ProgramIcon, FallbackPicturesWhenTheThemeLacksTheIcon) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RegisterLinuxIconResource(kFallbackId, "korvanth-no-such-icon",
                               FallbackFolder(dir).toUtf8().constData());
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFallbackId));
  ASSERT_NE(icon, nullptr);
  // The same handle each time, and only under the program's own module.
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFallbackId)), icon);
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(kFallbackId)), nullptr);
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFallbackId + 100)), nullptr);

  IconWindow window(icon);
  ASSERT_NE(window.hwnd, nullptr);
  const QIcon shown = window.shown();
  ASSERT_FALSE(shown.isNull());
  const QList<QSize> sizes = shown.availableSizes();
  for (int size : {16, 32, 48}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  EXPECT_EQ(CentreOf(shown, 32), kFallbackColour);
}

TEST(ProgramIcon, TheThemeIconComesFirst) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  InstallTestTheme(dir);
  RegisterLinuxIconResource(kThemeId, "korvanth-theme-test",
                               FallbackFolder(dir).toUtf8().constData());
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kThemeId));
  ASSERT_NE(icon, nullptr);
  IconWindow window(icon);
  EXPECT_EQ(CentreOf(window.shown(), 16), kThemeColour);
  EXPECT_EQ(CentreOf(window.shown(), 32), kThemeColour);
}

TEST(ProgramIcon, NothingToShowRegistersNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // An empty folder, a missing one and no folder at all, with no theme icon either.
  RegisterLinuxIconResource(kNothingId, "korvanth-no-such-icon",
                               dir.path().toUtf8().constData());
  RegisterLinuxIconResource(kNothingId, "korvanth-no-such-icon",
                               dir.filePath("missing").toUtf8().constData());
  RegisterLinuxIconResource(kNothingId, nullptr, nullptr);
  RegisterLinuxIconResource(kNothingId, "", "");
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kNothingId)), nullptr);
}

TEST(ProgramIcon, ClassWithoutAnIconLeavesTheWindowsDefault) {
  IconWindow plain(nullptr);
  ASSERT_NE(plain.hwnd, nullptr);
  // Qt's application-wide icon (none here): the class set nothing of its own.
  EXPECT_EQ(plain.shown().cacheKey(), QApplication::windowIcon().cacheKey());
  IconWindow stock(LoadIconA(nullptr, IDI_APPLICATION));
  EXPECT_EQ(stock.shown().cacheKey(), QApplication::windowIcon().cacheKey());
}

}  // namespace

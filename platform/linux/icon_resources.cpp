// The program's icons, registered in place of the icon resources a Windows program carries.
#include <QDir>

#include <map>

#include "platform/linux/window_class.h"

namespace {

// Stock icons are numbered 1 and up; the program's own icons share one kind.
constexpr int kProgramIcon = 100;

std::map<WORD, HICON__>& ProgramIcons() {
  static std::map<WORD, HICON__> icons;
  return icons;
}

QIcon PicturesIn(const QString& folder) {
  QIcon icon;
  if (folder.isEmpty()) return icon;  // not the current folder
  // One file per size, in folders such as 16x16/ or side by side.
  QDir dir(folder);
  for (const QString& sizeFolder : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
    for (const QString& file : QDir(dir.filePath(sizeFolder)).entryList(QDir::Files))
      icon.addFile(dir.filePath(sizeFolder + '/' + file));
  for (const QString& file : dir.entryList(QDir::Files, QDir::Name))
    icon.addFile(dir.filePath(file));
  return icon;
}

}  // namespace

void RegisterLinuxIconResource(WORD id, const char* themeName, const char* fallbackFolder) {
  const QIcon fallback =
      PicturesIn(QString::fromUtf8(fallbackFolder != nullptr ? fallbackFolder : ""));
  const QString name = QString::fromUtf8(themeName != nullptr ? themeName : "");
  // QIcon::fromTheme gives a non-null icon even for a name no theme has; ask first.
  const QIcon picture =
      !name.isEmpty() && QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : fallback;
  // Nothing to show: the number stays without an icon (or keeps the one it had, since
  // window classes may already hold its handle).
  if (picture.isNull() || picture.availableSizes().isEmpty()) return;
  ProgramIcons()[id] = HICON__{kProgramIcon, picture};
}

namespace korvanth::platform {

HICON FindProgramIcon(WORD id) {
  auto& icons = ProgramIcons();
  const auto found = icons.find(id);
  return found == icons.end() ? nullptr : &found->second;
}

}  // namespace korvanth::platform

// Off Windows: the thread's UI language, which the common dialogs and message boxes speak.
// Qt's own dialogs are English unless Qt's translation for them is loaded; the subset
// starts in Japanese, the program's first language, as a Japanese Windows would.
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/linux/dialogs_internal.h"

namespace {

LANGID threadLanguage = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);

}  // namespace

LANGID SetThreadUILanguage(LANGID language) {
  threadLanguage = language != 0 ? language : MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
  return threadLanguage;
}

LANGID GetThreadUILanguage() { return threadLanguage; }

namespace korvanth::platform {

bool UseDialogLanguage() {
  // Loaded once, then installed or taken out as the thread's language asks.
  static QTranslator* japanese = [] {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      return translator;
    delete translator;
    return static_cast<QTranslator*>(nullptr);
  }();
  static bool installed = false;
  const bool wanted = PRIMARYLANGID(threadLanguage) == LANG_JAPANESE;
  if (japanese == nullptr) return !wanted;
  if (wanted != installed) {
    installed = wanted ? QCoreApplication::installTranslator(japanese)
                       : !QCoreApplication::removeTranslator(japanese);
  }
  return installed == wanted;
}

}  // namespace korvanth::platform

// Off Windows: the common dialogs speak the program's language. Qt's own dialogs are
// English unless Qt's translation for them is loaded; the program's texts are Japanese.
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {

bool UseDialogLanguage() {
  static bool loaded = [] {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      delete translator;
      return false;
    }
    return QCoreApplication::installTranslator(translator);
  }();
  return loaded;
}

}  // namespace korvanth::platform

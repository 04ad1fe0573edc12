// The OPENFILENAME filter list turned into Qt name filters.
#include <string_view>

#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {
namespace {

// Characters that Qt's name-filter syntax accepts inside the parentheses; a pattern
// with anything else would stop Qt from recognising the whole filter.
bool IsQtPatternCharacter(QChar c) {
  if (c.isLetterOrNumber() && c.unicode() < 0x80) return true;
  static const QString allowed = QStringLiteral("_.,*?+#-[]@{}/!<>$%&=^~:|");
  return allowed.contains(c);
}

QStringList QtPatterns(const QString& windowsPatterns) {
  QStringList patterns;
  for (const QString& piece : windowsPatterns.split(QLatin1Char(';'))) {
    QString pattern = piece.trimmed();
    if (pattern.isEmpty()) continue;
    // "*.*" means every file on Windows, also those without a dot.
    if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    bool usable = true;
    for (QChar c : pattern) usable = usable && IsQtPatternCharacter(c);
    if (usable && !patterns.contains(pattern)) patterns.append(pattern);
  }
  if (patterns.isEmpty()) patterns.append(QStringLiteral("*"));
  return patterns;
}

}  // namespace

std::vector<FileTypeFilter> ParseFilterList(const char* list) {
  std::vector<FileTypeFilter> filters;
  if (list == nullptr) return filters;
  const char* cursor = list;
  while (*cursor != '\0') {
    const std::string_view description(cursor);
    cursor += description.size() + 1;
    if (*cursor == '\0') break;
    const std::string_view patterns(cursor);
    cursor += patterns.size() + 1;
    filters.push_back(FileTypeFilter{
        QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size())),
        QtPatterns(QString::fromUtf8(patterns.data(), static_cast<qsizetype>(patterns.size())))});
  }
  return filters;
}

QString QtNameFilter(const FileTypeFilter& filter) {
  return filter.description + QStringLiteral(" (") + filter.patterns.join(QLatin1Char(' ')) +
         QLatin1Char(')');
}

}  // namespace korvanth::platform

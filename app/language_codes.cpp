// The languages' codes, in one table.
#include "app/language_codes.h"

namespace korvanth {

namespace {

struct LanguageCodeEntry {
  UiLanguage language;
  std::string_view code;
};

constexpr LanguageCodeEntry kLanguageCodes[] = {
    {UiLanguage::Japanese, "ja"},
    {UiLanguage::English, "en"},
};

}  // namespace

std::string_view LanguageCode(UiLanguage language) {
  for (const LanguageCodeEntry& entry : kLanguageCodes)
    if (entry.language == language) return entry.code;
  return kLanguageCodes[0].code;
}

std::optional<UiLanguage> LanguageOfCode(std::string_view code) {
  for (const LanguageCodeEntry& entry : kLanguageCodes)
    if (entry.code == code) return entry.language;
  return std::nullopt;
}

}  // namespace korvanth

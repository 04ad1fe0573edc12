// The window's languages by their short codes, as the settings file and --lang spell them.
#pragma once

#include <optional>
#include <string_view>

#include "app/ui_text.h"

namespace korvanth {

// "ja" or "en".
std::string_view LanguageCode(UiLanguage language);

// The language of a code (exactly "ja" or "en"); none for any other text.
std::optional<UiLanguage> LanguageOfCode(std::string_view code);

}  // namespace korvanth

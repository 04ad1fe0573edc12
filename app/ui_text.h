// The window's two languages and a text of the window in both of them (UiLanguage, UiText,
// InLanguage), shared with the layers below, whose causes come in both languages too.
#pragma once

#include "imaging/ui_language.h"

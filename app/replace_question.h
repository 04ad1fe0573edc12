// The one question a save asks before it writes anything: the files it would replace (the
// sheet or atlas and each tileset beside it), and every older tileset of the same stem
// that the new file's type cannot have, which would be left naming another sheet.
#pragma once

#include "app/ui_text.h"
#include "convert/output_plan.h"
#include "platform/win32_api.h"

namespace korvanth {

// Asks over `owner`, with Yes and No (No the default), when a save of `plan` would touch
// a file that is there; true when it asked nothing or the answer was Yes. A refused
// output writes nothing, and so asks nothing.
bool ConfirmReplacing(HWND owner, const OutputPlan& plan, UiLanguage language);

}  // namespace korvanth

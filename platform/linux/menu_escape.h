// Off Windows: Escape that closes a menu of the bar gives the keys back to the window.
#pragma once

#include <functional>

class QMenuBar;
class QWidget;

namespace korvanth::platform {

// Qt leaves the bar in its keyboard mode when Escape closes a menu opened from it: the
// arrow keys then walk the bar, unseen by the window, until a second Escape. Here Escape
// that closes the bar's last open menu hands the keyboard back to the widget `client`
// names at that moment (none: the bar keeps it).
void GiveKeysBackOnEscape(QMenuBar* bar, std::function<QWidget*()> client);

}  // namespace korvanth::platform

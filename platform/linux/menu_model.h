// Off Windows: what an HMENU is. A tree of items; the model, not the Qt actions that
// show it, holds the check marks.
#pragma once

#include <QAction>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/win32_subset.h"

struct HMENU__ {
  struct Item {
    UINT flags = MF_STRING;
    UINT id = 0;
    std::string text;
    std::unique_ptr<HMENU__> popup;
    bool checked = false;
    bool radio = false;
    QPointer<QAction> action;
  };
  std::vector<Item> items;
  // Set while a window shows the menu; the window then owns and destroys it.
  bool attached = false;
  // Set for a popup appended to another menu, which then holds and destroys it.
  bool owned = false;
};

namespace korvanth::platform {

// True for a menu (a bar or a popup) that CreateMenu or CreatePopupMenu made and that has
// not been destroyed.
bool IsLiveMenu(HMENU menu);
// Forgets a menu and its popups before it is deleted.
void ForgetMenu(HMENU menu);
// The item with this command id anywhere in the tree, or null.
const HMENU__::Item* FindMenuCommand(HMENU menu, UINT id);

}  // namespace korvanth::platform

// Menus: the HMENU tree built item by item, its menu bar in Qt, radio marks and WM_COMMAND.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <string>

#include "platform/linux/menu_escape.h"
#include "platform/linux/menu_model.h"
#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

namespace {

std::vector<HMENU>& LiveMenus() {
  static auto* menus = new std::vector<HMENU>;
  return *menus;
}

// The item with this command id anywhere in the tree, and the menu holding it.
HMENU__::Item* FindCommand(HMENU menu, UINT id, HMENU* holder = nullptr) {
  for (auto& item : menu->items) {
    if (item.popup) {
      if (auto* found = FindCommand(item.popup.get(), id, holder)) return found;
    } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
      if (holder != nullptr) *holder = menu;
      return &item;
    }
  }
  return nullptr;
}

// Whether `inner` is `menu` or lies anywhere below it (appending would make a loop).
bool Holds(HMENU menu, HMENU inner) {
  if (menu == inner) return true;
  for (auto& item : menu->items)
    if (item.popup && Holds(item.popup.get(), inner)) return true;
  return false;
}

// Radio items join an exclusive group of their menu's, so that Qt draws them with a
// radio mark as Windows does for CheckMenuRadioItem; the model still decides the marks.
void JoinRadioGroup(QAction* action) {
  if (action->actionGroup() != nullptr) return;
  QObject* holder = action->parent();
  if (holder == nullptr) return;
  auto* group =
      holder->findChild<QActionGroup*>(QStringLiteral("radio"), Qt::FindDirectChildrenOnly);
  if (group == nullptr) {
    group = new QActionGroup(holder);
    group->setObjectName(QStringLiteral("radio"));
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  }
  group->addAction(action);
}

void MirrorChecks(HMENU menu) {
  for (auto& item : menu->items) {
    if (item.popup) MirrorChecks(item.popup.get());
    if (item.action) {
      if (item.radio) JoinRadioGroup(item.action);
      item.action->setCheckable(item.radio || item.checked);
      item.action->setChecked(item.checked);
    }
  }
}

void FillMenu(korvanth::platform::MainWindow* owner, QWidget* target, HMENU menu) {
  for (auto& item : menu->items) {
    const QString text = QString::fromUtf8(item.text.c_str());
    if (item.flags & MF_SEPARATOR) {
      if (auto* popup = qobject_cast<QMenu*>(target)) popup->addSeparator();
      continue;
    }
    if (item.popup) {
      QMenu* popup = nullptr;
      if (auto* bar = qobject_cast<QMenuBar*>(target))
        popup = bar->addMenu(text);
      else
        popup = static_cast<QMenu*>(target)->addMenu(text);
      item.action = popup->menuAction();
      FillMenu(owner, popup, item.popup.get());
      continue;
    }
    auto* action = new QAction(text, target);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    const UINT id = item.id;
    QObject::connect(action, &QAction::triggered, action,
                     [owner, id] { owner->onMenuCommand(id); });
    target->addAction(action);
    item.action = action;
  }
}

}  // namespace

namespace korvanth::platform {

const HMENU__::Item* FindMenuCommand(HMENU menu, UINT id) { return FindCommand(menu, id); }

bool IsLiveMenu(HMENU menu) {
  const auto& menus = LiveMenus();
  return menu != nullptr && std::find(menus.begin(), menus.end(), menu) != menus.end();
}

void ForgetMenu(HMENU menu) {
  if (menu == nullptr) return;
  for (auto& item : menu->items)
    if (item.popup) ForgetMenu(item.popup.get());
  auto& menus = LiveMenus();
  menus.erase(std::remove(menus.begin(), menus.end(), menu), menus.end());
}

void MainWindow::buildMenuBar() {
  if (!IsLiveMenu(menu_) || menu_->attached || menu_->owned) {
    menu_ = nullptr;
    return;
  }
  menu_->attached = true;
  menuBar_ = new QMenuBar(frame_);
  menuBar_->setNativeMenuBar(false);
  menuBar_->setFixedHeight(MenuBarHeight());
  FillMenu(this, menuBar_, menu_);
  MirrorChecks(menu_);
  GiveKeysBackOnEscape(menuBar_, [this] { return client(); });
  // A bar that replaces another on a shown window is not shown with it: show it now.
  menuBar_->show();
}

bool MainWindow::replaceMenu(HMENU menu) {
  if (menu != nullptr && menu != menu_ && (!IsLiveMenu(menu) || menu->attached || menu->owned))
    return false;
  if (menu_ != nullptr) menu_->attached = false;
  // The bar may be delivering the very command that asked for the change.
  if (menuBar_) {
    menuBar_->hide();
    menuBar_->deleteLater();
    menuBar_ = nullptr;
  }
  menu_ = menu;
  buildMenuBar();
  relayout();
  return true;
}

void MainWindow::onMenuCommand(UINT id) {
  if (!alive_) return;
  send(WM_COMMAND, MAKEWPARAM(id, 0), 0);
  // Qt toggles a checkable action by itself; the marks are the model's.
  if (alive_) syncMenuChecks();
}

void MainWindow::syncMenuChecks() {
  if (menu_ != nullptr) MirrorChecks(menu_);
}

QAction* MenuAction(HWND window, UINT id) {
  MainWindow* found = LiveMainWindow(window);
  if (found == nullptr || found->menu() == nullptr) return nullptr;
  HMENU__::Item* item = FindCommand(found->menu(), id);
  return item != nullptr ? item->action.data() : nullptr;
}

}  // namespace korvanth::platform

HMENU GetMenu(HWND window) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  return found != nullptr ? found->menu() : nullptr;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  if (!korvanth::platform::IsLiveMenu(menu)) return FALSE;
  HMENU holder = nullptr;
  size_t from = 0;
  size_t to = 0;
  if (flags & MF_BYPOSITION) {
    holder = menu;
    from = first;
    to = last;
    if (from > to || to >= holder->items.size() || check < first || check > last) return FALSE;
    for (size_t i = from; i <= to; ++i) {
      auto& item = holder->items[i];
      if (item.popup || (item.flags & MF_SEPARATOR)) continue;
      item.radio = true;
      item.checked = (i == check);
    }
  } else {
    // By command: the group is the run of items from `first` to `last` in the menu that
    // holds `first`.
    if (FindCommand(menu, first, &holder) == nullptr || check < first || check > last) return FALSE;
    std::vector<HMENU__::Item*> group;
    bool inGroup = false;
    for (auto& item : holder->items) {
      if (item.popup || (item.flags & MF_SEPARATOR)) continue;
      if (item.id == first) inGroup = true;
      if (!inGroup) continue;
      group.push_back(&item);
      if (item.id == last) break;
    }
    if (std::none_of(group.begin(), group.end(), [check](auto* item) { return item->id == check; }))
      return FALSE;
    for (HMENU__::Item* item : group) {
      item->radio = true;
      item->checked = (item->id == check);
    }
  }
  MirrorChecks(menu);
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  if (!korvanth::platform::IsLiveMenu(menu)) return static_cast<DWORD>(-1);
  HMENU__::Item* found = nullptr;
  if (check & MF_BYPOSITION) {
    if (item < menu->items.size()) found = &menu->items[item];
  } else {
    found = FindCommand(menu, item);
  }
  if (found == nullptr || found->popup || (found->flags & MF_SEPARATOR))
    return static_cast<DWORD>(-1);
  const DWORD previous = found->checked ? MF_CHECKED : MF_UNCHECKED;
  found->checked = (check & MF_CHECKED) != 0;
  MirrorChecks(menu);
  return previous;
}

HMENU CreateMenu() {
  HMENU menu = new HMENU__;
  LiveMenus().push_back(menu);
  return menu;
}

HMENU CreatePopupMenu() { return CreateMenu(); }

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
  if (!korvanth::platform::IsLiveMenu(menu)) return FALSE;
  HMENU__::Item item;
  item.flags = flags & ~UINT{MF_CHECKED};
  item.checked = (flags & MF_CHECKED) != 0;
  if (flags & MF_POPUP) {
    auto* popup = reinterpret_cast<HMENU>(id);
    if (!korvanth::platform::IsLiveMenu(popup) || popup->attached || popup->owned ||
        Holds(popup, menu))
      return FALSE;
    popup->owned = true;  // from now on its parent holds it, and destroys it
    item.popup.reset(popup);
  } else if (!(flags & MF_SEPARATOR)) {
    item.id = static_cast<UINT>(id);
  }
  if (text != nullptr && !(flags & MF_SEPARATOR)) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size > 0) {
      std::string utf8(static_cast<size_t>(size), '\0');
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
      utf8.resize(static_cast<size_t>(size) - 1);
      item.text = std::move(utf8);
    }
  }
  menu->items.push_back(std::move(item));
  return TRUE;
}

BOOL SetMenu(HWND window, HMENU menu) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  return found != nullptr && found->replaceMenu(menu) ? TRUE : FALSE;
}

BOOL DestroyMenu(HMENU menu) {
  if (!korvanth::platform::IsLiveMenu(menu) || menu->attached || menu->owned) return FALSE;
  korvanth::platform::ForgetMenu(menu);
  delete menu;
  return TRUE;
}

// Items appended to a menu that is already shown appear once the bar is drawn again.
BOOL DrawMenuBar(HWND window) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  return found != nullptr && found->replaceMenu(found->menu()) ? TRUE : FALSE;
}

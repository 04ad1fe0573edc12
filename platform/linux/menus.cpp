// Menus: the registry of menu templates that stands in for resources, the HMENU tree,
// its menu bar in Qt, radio marks and WM_COMMAND.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <map>

#include "platform/linux/top_level_window.h"
#include "platform/linux/menu_model.h"
#include "platform/linux/window_internals.h"

namespace {

struct TemplateItem {
  int depth;
  UINT flags;
  UINT id;
  std::string text;
};

std::map<WORD, std::vector<TemplateItem>>& Templates() {
  static auto* templates = new std::map<WORD, std::vector<TemplateItem>>;
  return *templates;
}

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
  auto& menus = LiveMenus();
  menus.erase(std::remove(menus.begin(), menus.end(), menu), menus.end());
}

void MainWindow::buildMenuBar() {
  if (!IsLiveMenu(menu_) || menu_->attached) {
    menu_ = nullptr;
    return;
  }
  menu_->attached = true;
  menuBar_ = new QMenuBar(frame_);
  menuBar_->setNativeMenuBar(false);
  menuBar_->setFixedHeight(MenuBarHeight());
  FillMenu(this, menuBar_, menu_);
  MirrorChecks(menu_);
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

void RegisterLinuxMenuResource(WORD id, const LinuxMenuItem* items, size_t count) {
  std::vector<TemplateItem> copy;
  for (size_t i = 0; items != nullptr && i < count; ++i)
    copy.push_back({items[i].depth, items[i].flags, items[i].id,
                    items[i].text != nullptr ? items[i].text : ""});
  Templates()[id] = std::move(copy);
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
  const auto value = reinterpret_cast<ULONG_PTR>(name);
  if (name == nullptr || value > 0xFFFF) return nullptr;  // only numeric resources exist
  const auto found = Templates().find(static_cast<WORD>(value));
  if (found == Templates().end()) return nullptr;
  auto root = std::make_unique<HMENU__>();
  // open[d] is the menu that receives items of depth d.
  std::vector<HMENU> open{root.get()};
  for (const TemplateItem& entry : found->second) {
    if (entry.depth < 0 || static_cast<size_t>(entry.depth) >= open.size()) return nullptr;
    open.resize(entry.depth + 1);
    HMENU target = open.back();
    HMENU__::Item item;
    item.flags = entry.flags;
    item.id = entry.id;
    item.text = entry.text;
    if (entry.flags & MF_POPUP) item.popup = std::make_unique<HMENU__>();
    HMENU popup = item.popup.get();
    target->items.push_back(std::move(item));
    if (popup != nullptr) open.push_back(popup);
  }
  HMENU menu = root.release();
  LiveMenus().push_back(menu);
  return menu;
}

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

// A popup menu as the monitor's code sees it: items with their component
// names, captions, checks and click handlers. The platform only renders a
// snapshot (View) and reports which item was chosen (Click by name).
#ifndef MONITOR_POPUP_MENU_H_
#define MONITOR_POPUP_MENU_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/menu_model.h"

namespace plumeta {

class MenuItem {
 public:
  using ClickHandler = std::function<void(MenuItem& sender)>;

  MenuItem(std::string name, std::string caption);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void set_caption(std::string caption) { caption_ = std::move(caption); }
  bool IsSeparator() const { return caption_ == "-"; }

  bool checked() const { return checked_; }
  void set_checked(bool checked) { checked_ = checked; }
  // Drawn with a radio mark; the handlers keep one item of the group checked.
  bool radio_item() const { return radio_item_; }
  void set_radio_item(bool radio) { radio_item_ = radio; }
  // Toggles its own check when clicked, before its handler runs.
  bool auto_check() const { return auto_check_; }
  void set_auto_check(bool auto_check) { auto_check_ = auto_check; }
  bool visible() const { return visible_; }
  void set_visible(bool visible) { visible_ = visible; }
  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled) { enabled_ = enabled; }
  bool is_default() const { return is_default_; }
  void set_default(bool is_default) { is_default_ = is_default; }

  void set_on_click(ClickHandler handler) { on_click_ = std::move(handler); }

  // Submenu items, top to bottom.
  MenuItem& Add(std::string name, std::string caption);
  // Puts a new item right before the item named `before` (at the end when
  // there is none), for items that come with later parts of the program.
  MenuItem& Insert(const std::string& before, std::string name,
                   std::string caption);
  const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }

  // This item or one below it with the name; null when there is none.
  MenuItem* Find(const std::string& name);

  // What a click does: the check toggles for an auto-check item, then the
  // handler runs with this item as sender. False, doing nothing, for an item
  // that cannot be clicked: a separator, a submenu, a hidden or disabled one.
  bool Click();

  platform::MenuItemView View() const;

 private:
  std::string name_;
  std::string caption_;
  bool checked_ = false;
  bool radio_item_ = false;
  bool auto_check_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool is_default_ = false;
  ClickHandler on_click_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class PopupMenu {
 public:
  explicit PopupMenu(std::string name) : root_(std::move(name), "") {}

  MenuItem& Add(std::string name, std::string caption) {
    return root_.Add(std::move(name), std::move(caption));
  }
  MenuItem& Insert(const std::string& before, std::string name,
                   std::string caption) {
    return root_.Insert(before, std::move(name), std::move(caption));
  }
  const std::string& name() const { return root_.name(); }
  const std::vector<std::unique_ptr<MenuItem>>& items() const {
    return root_.items();
  }
  MenuItem* Find(const std::string& name);
  // Clicks the item with that name anywhere in the menu; false when there is
  // no such item or it cannot be clicked.
  bool Click(const std::string& name);
  // The top-level items as the platform renders them.
  std::vector<platform::MenuItemView> View() const;

 private:
  MenuItem root_;
};

}  // namespace plumeta

#endif  // MONITOR_POPUP_MENU_H_

#include "monitor/popup_menu.h"

#include <algorithm>

namespace plumeta {

MenuItem::MenuItem(std::string name, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

MenuItem& MenuItem::Add(std::string name, std::string caption) {
  items_.push_back(
      std::make_unique<MenuItem>(std::move(name), std::move(caption)));
  return *items_.back();
}

MenuItem& MenuItem::Insert(const std::string& before, std::string name,
                           std::string caption) {
  auto place =
      std::find_if(items_.begin(), items_.end(),
                   [&](const auto& item) { return item->name() == before; });
  auto inserted = items_.insert(
      place, std::make_unique<MenuItem>(std::move(name), std::move(caption)));
  return **inserted;
}

MenuItem* MenuItem::Find(const std::string& name) {
  if (name_ == name) return this;
  for (const auto& item : items_) {
    if (MenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

bool MenuItem::Click() {
  if (IsSeparator() || !items_.empty() || !visible_ || !enabled_) return false;
  if (auto_check_) checked_ = !checked_;
  if (on_click_) on_click_(*this);
  return true;
}

platform::MenuItemView MenuItem::View() const {
  platform::MenuItemView view;
  view.name = name_;
  view.caption = caption_;
  view.checked = checked_;
  view.radio = radio_item_;
  view.visible = visible_;
  view.enabled = enabled_;
  view.is_default = is_default_;
  for (const auto& item : items_) view.items.push_back(item->View());
  return view;
}

MenuItem* PopupMenu::Find(const std::string& name) {
  for (const auto& item : root_.items()) {
    if (MenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

bool PopupMenu::Click(const std::string& name) {
  MenuItem* item = Find(name);
  return item != nullptr && item->Click();
}

std::vector<platform::MenuItemView> PopupMenu::View() const {
  return root_.View().items;
}

}  // namespace plumeta

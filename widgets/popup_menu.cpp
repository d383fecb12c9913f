#include "widgets/popup_menu.h"

#include <utility>

namespace plumeta::widgets {

TMenuItem::TMenuItem(std::string name, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

void TMenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (!checked || !radio_item_ || parent_ == nullptr) return;
  for (const auto& sibling : parent_->items_) {
    if (sibling.get() != this && sibling->radio_item_ &&
        sibling->group_index_ == group_index_) {
      sibling->checked_ = false;
    }
  }
}

TMenuItem& TMenuItem::Add(std::string name, std::string caption) {
  items_.push_back(
      std::make_unique<TMenuItem>(std::move(name), std::move(caption)));
  items_.back()->parent_ = this;
  return *items_.back();
}

TMenuItem* TMenuItem::Find(const std::string& name) {
  if (name_ == name) return this;
  for (const auto& item : items_) {
    if (TMenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (auto_check_) SetChecked(!checked_);
  if (on_click_) on_click_(*this);
}

platform::MenuItemView TMenuItem::View() const {
  platform::MenuItemView view;
  view.name = name_;
  view.caption = caption_;
  view.checked = checked_;
  view.radio = radio_item_;
  view.visible = visible_;
  view.enabled = enabled_;
  view.is_default = default_;
  for (const auto& item : items_) view.items.push_back(item->View());
  return view;
}

TPopupMenu::TPopupMenu(platform::Dialogs& dialogs)
    : dialogs_(dialogs), items_("", "") {}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  // The link stays when the component changes: the two may also be linked
  // for another reference (the tray icon's PopupMenu).
  popup_component_ = component;
  if (component != nullptr) FreeNotification(component);
}

void TPopupMenu::Popup(int x, int y) {
  if (on_popup_) on_popup_(*this);
  std::vector<platform::MenuItemView> views;
  for (int i = 0; i < items_.Count(); ++i) {
    views.push_back(items_.Item(i).View());
  }
  std::string chosen = dialogs_.TrackPopupMenu(views, {x, y});
  if (chosen.empty()) return;
  if (TMenuItem* item = FindItem(chosen)) item->Click();
}

TMenuItem* TPopupMenu::FindItem(const std::string& name) {
  if (name.empty()) return nullptr;
  for (int i = 0; i < items_.Count(); ++i) {
    if (TMenuItem* found = items_.Item(i).Find(name)) return found;
  }
  return nullptr;
}

bool TPopupMenu::Click(const std::string& name) {
  TMenuItem* item = FindItem(name);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

void TPopupMenu::Notification(TComponent* removed) {
  if (removed == popup_component_) popup_component_ = nullptr;
}

}  // namespace plumeta::widgets

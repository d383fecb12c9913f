// A popup menu as a table of items: names, captions, ticks, radio groups,
// automatic ticking, visibility, the default item and a click handler each.
// The platform renders it (Dialogs::TrackPopupMenu) and names the chosen
// item; the menu runs that item's click.
#ifndef WIDGETS_POPUP_MENU_H_
#define WIDGETS_POPUP_MENU_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/menu_model.h"
#include "widgets/component.h"

namespace plumeta::widgets {

class TMenuItem {
 public:
  using ClickEvent = std::function<void(TMenuItem& sender)>;

  TMenuItem(std::string name, std::string caption);
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Checked() const { return checked_; }
  // Ticking a radio item clears the other radio items of its group among its
  // siblings.
  void SetChecked(bool checked);
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool radio_item) { radio_item_ = radio_item; }
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int group_index) { group_index_ = group_index; }
  bool AutoCheck() const { return auto_check_; }
  void SetAutoCheck(bool auto_check) { auto_check_ = auto_check; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Default() const { return default_; }
  void SetDefault(bool is_default) { default_ = is_default; }
  const ClickEvent& OnClick() const { return on_click_; }
  void SetOnClick(ClickEvent on_click) { on_click_ = std::move(on_click); }

  // Sub-items, in menu order.
  TMenuItem& Add(std::string name, std::string caption);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) { return *items_[index]; }
  TMenuItem* Parent() const { return parent_; }
  // This item or one below it with that name; null when there is none.
  TMenuItem* Find(const std::string& name);

  // What choosing the item does: nothing when it is disabled; otherwise an
  // automatic tick flips first, then the click handler runs.
  void Click();

  platform::MenuItemView View() const;

 private:
  std::string name_;
  std::string caption_;
  bool checked_ = false;
  bool radio_item_ = false;
  int group_index_ = 0;
  bool auto_check_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool default_ = false;
  ClickEvent on_click_;
  TMenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TPopupMenu : public TComponent {
 public:
  using PopupEvent = std::function<void(TPopupMenu& sender)>;

  explicit TPopupMenu(platform::Dialogs& dialogs);

  // The invisible root whose sub-items are the menu's top-level items.
  TMenuItem& Items() { return items_; }
  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool auto_popup) { auto_popup_ = auto_popup; }
  // The component that opened the menu last (the tray icon, for one).
  TComponent* PopupComponent() const { return popup_component_; }
  void SetPopupComponent(TComponent* component);
  // Runs just before the menu is shown.
  void SetOnPopup(PopupEvent on_popup) { on_popup_ = std::move(on_popup); }

  // Shows the menu at the screen point and returns when it has closed,
  // after the chosen item (if any) has been clicked.
  void Popup(int x, int y);
  TMenuItem* FindItem(const std::string& name);
  // Clicks the named item as if it had been chosen from the menu; false
  // when the menu has no such item.
  bool Click(const std::string& name);

 protected:
  void Notification(TComponent* removed) override;

 private:
  platform::Dialogs& dialogs_;
  TMenuItem items_;
  bool auto_popup_ = true;
  TComponent* popup_component_ = nullptr;
  PopupEvent on_popup_;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_POPUP_MENU_H_

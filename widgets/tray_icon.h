// TPlumTrayIcon: one icon in the notification area with its tooltip, its
// animation through an image list, the owner's popup menu on a right click,
// double clicks, and the hiding of the program's main window (at start-up,
// when minimised). TTrayIconHandler: the one hidden window per process that
// receives the shell's notifications for every tray icon.
//
// The decisions are made here; the shell only hears the resulting
// Shell_NotifyIconA calls through platform::NotificationArea.
#ifndef WIDGETS_TRAY_ICON_H_
#define WIDGETS_TRAY_ICON_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/application.h"
#include "platform/notification_area.h"
#include "platform/window.h"
#include "platform/window_messages.h"
#include "widgets/component.h"
#include "widgets/image_list.h"
#include "widgets/popup_menu.h"
#include "widgets/simple_timer.h"

namespace plumeta::widgets {

class TPlumTrayIcon;

// The process-wide receiver of the shell's notifications. It exists while
// at least one tray icon does: the first icon creates it, the last one
// destroys it.
class TTrayIconHandler {
 public:
  // The live handler; null while no tray icon exists.
  static TTrayIconHandler* Instance();

  // The handler window's procedure, callable directly: the result of a
  // message it answers, nullopt for default processing.
  std::optional<std::intptr_t> HandleMessage(std::uint32_t message,
                                             std::uintptr_t wparam,
                                             std::intptr_t lparam);

  platform::WindowHandle Window() const;
  // The shell's "TaskbarCreated" message; 0 when it was not registered (the
  // common controls are older than 4.71).
  std::uint32_t TaskbarCreatedMessage() const { return taskbar_created_; }
  // The number of tray icons using the handler.
  int References() const { return static_cast<int>(icons_.size()); }

 private:
  friend class TPlumTrayIcon;
  explicit TTrayIconHandler(platform::NotificationArea& area);
  static TTrayIconHandler& Acquire(platform::NotificationArea& area,
                                   TPlumTrayIcon* icon);
  static void Release(TPlumTrayIcon* icon);

  std::unique_ptr<platform::HiddenWindow> window_;
  std::uint32_t taskbar_created_ = 0;
  // The live icons: a notification names its icon by address, and only a
  // live one is called.
  std::set<TPlumTrayIcon*> icons_;
};

class TPlumTrayIcon : public TComponent {
 public:
  // The notification record's fixed parts.
  static constexpr std::uint32_t kCallbackMessage =
      platform::kWmTrayIconCallback;
  static constexpr std::uint32_t kRecordSize = 488;  // shell-5.0 layout
  static constexpr std::uint32_t kRecordFlags = 7;   // message, icon, tip
  static constexpr std::size_t kMaxTipLength = 127;

  using NotifyEvent = std::function<void(TPlumTrayIcon& sender)>;
  using StartupEvent =
      std::function<void(TPlumTrayIcon& sender, bool& show_main_form)>;

  // `owner` is the form that owns the icon, which is also the program's main
  // window; null for an icon without one. The icon hooks the application's
  // window and the owner's window at once; the stored settings are applied
  // through the setters next, and Loaded() puts the result into the shell.
  TPlumTrayIcon(platform::Application& application,
                platform::NotificationArea& notification_area,
                platform::Window* owner);
  // Takes the icon out of the notification area, then releases the timers,
  // the hooks and the handler.
  ~TPlumTrayIcon() override;

  // Ends loading: asks OnStartup whether the main window is to be shown at
  // start (the result; when false the main window is hidden now), then adds
  // or deletes the icon as IconVisible says and starts the animation if
  // CycleIcons says so. Until then the setters only store.
  bool Loaded();

  TImageList* IconList() const { return icon_list_; }
  void SetIconList(TImageList* icon_list);
  int IconIndex() const { return icon_index_; }
  // Clamped to the list's last image; 0 when there is no list.
  void SetIconIndex(int index);
  bool CycleIcons() const { return cycle_icons_; }
  // True restarts the animation at image 0; false stops it where it is.
  void SetCycleIcons(bool cycle);
  std::uint32_t CycleInterval() const { return cycle_interval_; }
  // A new value restarts a running animation; 0 means no animation.
  void SetCycleInterval(std::uint32_t interval);
  bool Enabled() const { return enabled_; }
  // False: the icon ignores the mouse.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show_hint);
  // The icon resource shown; empty for none.
  const std::string& Icon() const { return icon_; }
  void SetIcon(std::string icon);
  bool IconVisible() const { return icon_visible_; }
  void SetIconVisible(bool visible);
  TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TPopupMenu* popup_menu);
  bool MinimizeToTray() const { return minimize_to_tray_; }
  void SetMinimizeToTray(bool minimize) { minimize_to_tray_ = minimize; }
  void SetOnDblClick(NotifyEvent on_dbl_click) {
    on_dbl_click_ = std::move(on_dbl_click);
  }
  void SetOnStartup(StartupEvent on_startup) {
    on_startup_ = std::move(on_startup);
  }

  // Restores the application, brings the main window back from minimised,
  // shows it and puts the application in the foreground.
  void RevealMainWindow();
  // Hides the main window and the application's taskbar button.
  void ConcealMainWindow();
  void HideAppTaskbarButton();
  // ConcealMainWindow, then shows the icon.
  void SendToTray();
  // Shows the popup menu at the cursor.
  void OpenTrayMenu();

  // The shell calls; each returns whether the shell accepted it. NotifyAdd
  // and NotifyDelete set IconVisible whatever the answer.
  virtual bool NotifyAdd();
  virtual bool NotifyDelete();
  virtual bool NotifyModify();

  // A notification from the shell for this icon: lparam is the mouse or
  // notification message.
  void HandleNotification(std::intptr_t lparam);
  // The application window's messages, before their default processing.
  void ApplicationMessage(std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);
  // The owner window's messages, before its own procedure.
  void OwnerMessage(std::uint32_t message, std::uintptr_t wparam,
                    std::intptr_t lparam);

  // The record as it was last sent to the shell (or prepared to be).
  const platform::NotifyIconRecord& Record() const { return record_; }
  const TSimpleTimer& AnimationTimer() const { return animation_timer_; }

 protected:
  void Notification(TComponent* removed) override;

 private:
  bool Notify(platform::NotifyOperation operation);
  void FillRecord();
  // Puts image `index` of the list into the icon; false when the icon did
  // not change.
  bool CopyImage(int index);
  void AnimationTick();

  platform::Application& application_;
  platform::NotificationArea& notification_area_;
  platform::Window* owner_;
  TTrayIconHandler& handler_;

  bool loading_ = true;
  bool startup_pending_ = true;
  TImageList* icon_list_ = nullptr;
  int icon_index_ = 0;
  bool cycle_icons_ = false;
  std::uint32_t cycle_interval_ = 0;
  bool enabled_ = true;
  std::string hint_;
  bool show_hint_ = true;
  std::string icon_;
  std::string loaded_icon_;  // the resource behind loaded_icon_handle_
  platform::IconHandle loaded_icon_handle_ = 0;
  bool icon_visible_ = false;
  TPopupMenu* popup_menu_ = nullptr;
  bool minimize_to_tray_ = false;
  NotifyEvent on_dbl_click_;
  StartupEvent on_startup_;

  platform::NotifyIconRecord record_;
  TSimpleTimer animation_timer_;
  int application_hook_ = 0;
  int owner_hook_ = 0;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_TRAY_ICON_H_

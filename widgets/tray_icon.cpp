#include "widgets/tray_icon.h"

#include <utility>

#include "platform/window_messages.h"

namespace plumeta::widgets {

namespace {

// The first common-controls version whose shell sends "TaskbarCreated".
constexpr platform::ModuleVersion kTaskbarCreatedVersion{4, 71};

// Freed with the last icon, or at the end of the program if icons outlive
// it.
std::unique_ptr<TTrayIconHandler> g_handler;

}  // namespace

// ---------------------------------------------------------------------------
// TTrayIconHandler

TTrayIconHandler* TTrayIconHandler::Instance() { return g_handler.get(); }

TTrayIconHandler::TTrayIconHandler(platform::NotificationArea& area) {
  std::optional<platform::ModuleVersion> version = area.CommonControlsVersion();
  if (version && *version >= kTaskbarCreatedVersion) {
    taskbar_created_ = area.RegisterMessage("TaskbarCreated");
  }
  window_ = area.CreateHiddenWindow([this](std::uint32_t message,
                                           std::uintptr_t wparam,
                                           std::intptr_t lparam) {
    return HandleMessage(message, wparam, lparam);
  });
}

TTrayIconHandler& TTrayIconHandler::Acquire(platform::NotificationArea& area,
                                            TPlumTrayIcon* icon) {
  if (g_handler == nullptr) g_handler.reset(new TTrayIconHandler(area));
  g_handler->icons_.insert(icon);
  return *g_handler;
}

void TTrayIconHandler::Release(TPlumTrayIcon* icon) {
  if (g_handler == nullptr) return;
  g_handler->icons_.erase(icon);
  if (g_handler->icons_.empty()) g_handler.reset();
}

platform::WindowHandle TTrayIconHandler::Window() const {
  return window_ ? window_->Handle() : 0;
}

std::optional<std::intptr_t> TTrayIconHandler::HandleMessage(
    std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  switch (message) {
    case TPlumTrayIcon::kCallbackMessage: {
      // wParam carries the icon's uID, its address. A message that names no
      // live icon (a late one, or one posted by another program) is dropped.
      for (TPlumTrayIcon* icon : icons_) {
        if (icon->Record().id == static_cast<std::uint32_t>(wparam)) {
          icon->HandleNotification(lparam);
          break;
        }
      }
      return 0;
    }
    // The window cannot be closed from outside, and it agrees to log-off
    // and shut-down.
    case platform::kWmDestroy:
    case platform::kWmClose:
    case platform::kWmQueryEndSession:
    case platform::kWmQuit:
    case platform::kWmEndSession:
    case platform::kWmNcDestroy:
      return 1;
    default:
      return std::nullopt;
  }
}

// ---------------------------------------------------------------------------
// TPlumTrayIcon

TPlumTrayIcon::TPlumTrayIcon(platform::Application& application,
                             platform::NotificationArea& notification_area,
                             platform::Window* owner)
    : application_(application),
      notification_area_(notification_area),
      owner_(owner),
      handler_(TTrayIconHandler::Acquire(notification_area, this)),
      animation_timer_(application) {
  record_.size = kRecordSize;
  record_.window = handler_.Window();
  record_.id =
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
  record_.flags = kRecordFlags;
  record_.callback_message = kCallbackMessage;
  record_.version = 0;

  animation_timer_.SetOnTimer([this](TSimpleTimer&) { AnimationTick(); });

  application_hook_ = application_.AddApplicationHook(
      [this](std::uint32_t message, std::uintptr_t wparam,
             std::intptr_t lparam) {
        ApplicationMessage(message, wparam, lparam);
      });
  if (owner_ != nullptr) {
    owner_hook_ = owner_->AddMessageHook([this](std::uint32_t message,
                                                std::uintptr_t wparam,
                                                std::intptr_t lparam) {
      OwnerMessage(message, wparam, lparam);
    });
  }
}

TPlumTrayIcon::~TPlumTrayIcon() {
  loading_ = false;
  SetIconVisible(false);
  animation_timer_.Stop(true);
  icon_.clear();
  application_.RemoveApplicationHook(application_hook_);
  if (owner_ != nullptr) owner_->RemoveMessageHook(owner_hook_);
  TTrayIconHandler::Release(this);
}

bool TPlumTrayIcon::Loaded() {
  loading_ = false;
  bool show_main_form = true;
  if (owner_ != nullptr) {
    if (on_startup_) on_startup_(*this, show_main_form);
    if (!show_main_form) ConcealMainWindow();
  }
  NotifyModify();
  SetIconVisible(icon_visible_);
  SetCycleIcons(cycle_icons_);
  Notify(platform::NotifyOperation::kSetVersion);
  return show_main_form;
}

void TPlumTrayIcon::SetIconList(TImageList* icon_list) {
  icon_list_ = icon_list;
  if (icon_list != nullptr) FreeNotification(icon_list);
  SetIconIndex(0);
}

void TPlumTrayIcon::SetIconIndex(int index) {
  if (icon_list_ != nullptr && icon_list_->Count() > 0) {
    icon_index_ = index < icon_list_->Count() ? index : icon_list_->Count() - 1;
    CopyImage(icon_index_);
  } else {
    icon_index_ = 0;
  }
  NotifyModify();
}

void TPlumTrayIcon::SetCycleIcons(bool cycle) {
  cycle_icons_ = cycle;
  if (cycle) {
    SetIconIndex(0);
    animation_timer_.SetInterval(cycle_interval_);
    animation_timer_.SetEnabled(true);
  } else {
    animation_timer_.SetEnabled(false);
  }
}

void TPlumTrayIcon::SetCycleInterval(std::uint32_t interval) {
  if (interval == cycle_interval_) return;
  cycle_interval_ = interval;
  SetCycleIcons(cycle_icons_);
}

void TPlumTrayIcon::SetHint(std::string hint) {
  hint_ = std::move(hint);
  NotifyModify();
}

void TPlumTrayIcon::SetShowHint(bool show_hint) {
  show_hint_ = show_hint;
  NotifyModify();
}

void TPlumTrayIcon::SetIcon(std::string icon) {
  icon_ = std::move(icon);
  NotifyModify();
}

void TPlumTrayIcon::SetIconVisible(bool visible) {
  if (visible) {
    NotifyAdd();
  } else {
    NotifyDelete();
  }
}

void TPlumTrayIcon::SetPopupMenu(TPopupMenu* popup_menu) {
  popup_menu_ = popup_menu;
  if (popup_menu != nullptr) FreeNotification(popup_menu);
}

void TPlumTrayIcon::RevealMainWindow() {
  if (owner_ == nullptr) return;
  application_.RestoreApplication();
  if (owner_->Minimized()) owner_->SetNormalState();
  owner_->SetVisible(true);
  application_.ForegroundApplicationWindow();
}

void TPlumTrayIcon::ConcealMainWindow() {
  if (owner_ == nullptr) return;
  owner_->SetVisible(false);
  HideAppTaskbarButton();
}

void TPlumTrayIcon::HideAppTaskbarButton() {
  if (application_.ApplicationWindowVisible()) {
    application_.HideApplicationWindow();
  }
}

void TPlumTrayIcon::SendToTray() {
  ConcealMainWindow();
  SetIconVisible(true);
}

void TPlumTrayIcon::OpenTrayMenu() {
  std::optional<platform::Point> cursor = application_.CursorPos();
  if (!cursor || popup_menu_ == nullptr) return;
  // The menu must belong to the foreground window, or it stays open when
  // the user clicks elsewhere.
  notification_area_.SetForegroundWindow(record_.window);
  application_.ProcessMessages();
  popup_menu_->SetPopupComponent(this);
  popup_menu_->Popup(cursor->x, cursor->y);
  // So that the menu works the next time it is opened.
  if (owner_ != nullptr) owner_->PostWindowMessage(platform::kWmNull, 0, 0);
}

bool TPlumTrayIcon::NotifyAdd() {
  icon_visible_ = true;
  return Notify(platform::NotifyOperation::kAdd);
}

bool TPlumTrayIcon::NotifyDelete() {
  icon_visible_ = false;
  return Notify(platform::NotifyOperation::kDelete);
}

bool TPlumTrayIcon::NotifyModify() {
  return Notify(platform::NotifyOperation::kModify);
}

bool TPlumTrayIcon::Notify(platform::NotifyOperation operation) {
  if (loading_) return false;
  FillRecord();
  return notification_area_.NotifyIcon(operation, record_);
}

void TPlumTrayIcon::FillRecord() {
  if (icon_ != loaded_icon_) {
    loaded_icon_ = icon_;
    loaded_icon_handle_ =
        icon_.empty() ? 0 : notification_area_.LoadIconResource(icon_);
  }
  record_.icon = loaded_icon_handle_;
  if (!hint_.empty() && show_hint_) {
    record_.tip = hint_.substr(0, kMaxTipLength);
  } else {
    record_.tip.clear();
  }
  record_.image_index = icon_index_;
}

bool TPlumTrayIcon::CopyImage(int index) {
  if (icon_list_ == nullptr || index < 0 || index >= icon_list_->Count()) {
    return false;
  }
  std::string image = icon_list_->IconName(index);
  if (image == icon_) return false;
  icon_ = std::move(image);
  return true;
}

void TPlumTrayIcon::AnimationTick() {
  if (icon_list_ == nullptr) return;
  if (CopyImage(icon_index_)) NotifyModify();
  SetIconIndex(icon_index_ < icon_list_->Count() - 1 ? icon_index_ + 1 : 0);
}

void TPlumTrayIcon::HandleNotification(std::intptr_t lparam) {
  if (!enabled_) return;
  switch (lparam) {
    case platform::kWmRButtonDown:
      if (popup_menu_ != nullptr && popup_menu_->AutoPopup()) {
        notification_area_.SetForegroundWindow(record_.window);
        OpenTrayMenu();
      }
      break;
    case platform::kWmLButtonDblClk:
      if (on_dbl_click_) on_dbl_click_(*this);
      if (popup_menu_ != nullptr && popup_menu_->AutoPopup()) {
        TMenuItem& items = popup_menu_->Items();
        for (int i = 0; i < items.Count(); ++i) {
          if (items.Item(i).Default()) {
            items.Item(i).Click();
            break;
          }
        }
      }
      break;
    default:
      break;
  }
}

void TPlumTrayIcon::ApplicationMessage(std::uint32_t message,
                                       std::uintptr_t wparam,
                                       std::intptr_t lparam) {
  (void)lparam;
  if (message == platform::kWmSize && wparam == platform::kSizeMinimized &&
      minimize_to_tray_) {
    SendToTray();
  } else if (message == platform::kWmSysCommand &&
             (wparam & platform::kSysCommandMask) == platform::kScRestore &&
             owner_ != nullptr) {
    if (owner_->Minimized()) owner_->SetNormalState();
    owner_->SetVisible(true);
  } else if (message == platform::kWmWindowPosChanged && startup_pending_ &&
             owner_ != nullptr) {
    startup_pending_ = false;
  }
  std::uint32_t taskbar_created = handler_.TaskbarCreatedMessage();
  if (taskbar_created != 0 && message == taskbar_created && icon_visible_) {
    NotifyAdd();
  }
}

void TPlumTrayIcon::OwnerMessage(std::uint32_t message, std::uintptr_t wparam,
                                 std::intptr_t lparam) {
  if (message == platform::kWmShowWindow && wparam == 1 && lparam == 0) {
    application_.ForegroundApplicationWindow();
    owner_->SetForeground();
  }
}

void TPlumTrayIcon::Notification(TComponent* removed) {
  if (removed == icon_list_) {
    icon_list_ = nullptr;
    icon_index_ = 0;
  }
  if (removed == popup_menu_) popup_menu_ = nullptr;
}

}  // namespace plumeta::widgets

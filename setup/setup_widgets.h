// The widgets behind the setup form: its balloon (BalloonControl1) and its
// tray icon, whose only work is to keep the never-shown form hidden.
#ifndef SETUP_SETUP_WIDGETS_H_
#define SETUP_SETUP_WIDGETS_H_

#include <memory>

#include "platform/application.h"
#include "platform/balloon_windows.h"
#include "platform/form.h"
#include "platform/notification_area.h"
#include "setup/notice_balloon.h"
#include "setup/setup_program.h"
#include "widgets/balloon.h"

namespace plumeta::setup {

// The notice balloon as a balloon control with the form's design-time
// settings: arrow top left, information picture, left and top alignment.
class WidgetNoticeBalloon : public NoticeBalloon {
 public:
  WidgetNoticeBalloon(platform::Application& application,
                      platform::BalloonWindows& windows);
  void Show(const BalloonNotice& notice) override;

 private:
  widgets::TBalloonControl balloon_control1_;
};

// The form's window (hidden, never shown) and its tray icon, made once the
// form exists: the icon stays out of the notification area and its start-up
// event keeps the form hidden.
FormComponents WidgetFormComponents(platform::Application& application,
                                    platform::Forms& forms,
                                    platform::NotificationArea& area);

}  // namespace plumeta::setup

#endif  // SETUP_SETUP_WIDGETS_H_

#include "setup/setup_widgets.h"

#include "widgets/tray_icon.h"

namespace plumeta::setup {
namespace {

widgets::TBalloonPosition WidgetPosition(BalloonPosition position) {
  switch (position) {
    case BalloonPosition::kArrowTopLeft:
      return widgets::blnArrowTopLeft;
    case BalloonPosition::kArrowTopRight:
      return widgets::blnArrowTopRight;
    case BalloonPosition::kArrowBottomLeft:
      return widgets::blnArrowBottomLeft;
    case BalloonPosition::kArrowBottomRight:
      return widgets::blnArrowBottomRight;
  }
  return widgets::blnArrowTopLeft;
}

widgets::TBalloonType WidgetType(BalloonKind kind) {
  switch (kind) {
    case BalloonKind::kInfo:
      return widgets::blnInfo;
    case BalloonKind::kError:
      return widgets::blnError;
    case BalloonKind::kWarning:
      return widgets::blnWarning;
  }
  return widgets::blnInfo;
}

struct FormParts {
  std::unique_ptr<platform::FormWindow> window;
  std::unique_ptr<widgets::TPlumTrayIcon> tray_icon;
};

}  // namespace

WidgetNoticeBalloon::WidgetNoticeBalloon(platform::Application& application,
                                         platform::BalloonWindows& windows)
    : balloon_control1_(application, windows) {
  balloon_control1_.SetPosition(widgets::blnArrowTopLeft);
  balloon_control1_.SetBalloonType(widgets::blnInfo);
  balloon_control1_.SetHorizontal(widgets::blnLeft);
  balloon_control1_.SetVertical(widgets::blnTop);
  balloon_control1_.SetDuration(8);
}

void WidgetNoticeBalloon::Show(const BalloonNotice& notice) {
  balloon_control1_.SetTitle(notice.title);
  balloon_control1_.SetText(notice.lines);
  balloon_control1_.SetPixelCoordinateX(notice.x);
  balloon_control1_.SetPixelCoordinateY(notice.y);
  balloon_control1_.SetDuration(notice.duration_seconds);
  balloon_control1_.SetPosition(WidgetPosition(notice.position));
  balloon_control1_.SetBalloonType(WidgetType(notice.kind));
  balloon_control1_.ShowBalloon();
}

FormComponents WidgetFormComponents(platform::Application& application,
                                    platform::Forms& forms,
                                    platform::NotificationArea& area) {
  return [&application, &forms, &area](TForm1& form) -> std::shared_ptr<void> {
    auto parts = std::make_shared<FormParts>();
    platform::FormDescription description;
    description.name = "TForm1";
    description.caption = "Setup";
    description.client_size = {320, 240};
    description.font = {"Tahoma", -11, false};
    parts->window = forms.CreateForm(description, {});
    parts->tray_icon = std::make_unique<widgets::TPlumTrayIcon>(
        application, area, parts->window.get());
    widgets::TPlumTrayIcon& tray_icon = *parts->tray_icon;
    tray_icon.SetCycleInterval(0);
    tray_icon.SetShowHint(false);
    tray_icon.SetIcon("MAINICON");
    tray_icon.SetIconIndex(0);
    tray_icon.SetMinimizeToTray(true);
    tray_icon.SetOnStartup(
        [&form](widgets::TPlumTrayIcon&, bool& show_main_form) {
          form.TrayIcon1Startup(show_main_form);
        });
    tray_icon.Loaded();
    return parts;
  };
}

}  // namespace plumeta::setup

// TMain in the notification area: the tray icon's and the balloon's stored
// settings, the start-up steps that concern them, and the menu items that
// show the window and hide the icon.
#include "common/os_edition.h"
#include "monitor/main_form.h"

namespace plumeta {
namespace {

constexpr char kConversionText[] = "Creating Adobe PDF ...";
constexpr int kConversionSeconds = 20;
constexpr int kWelcomeSeconds = 6;

}  // namespace

void TMain::SetUpTrayPresence() {
  tray_icon1_.SetIconList(&image_list1_);
  tray_icon1_.SetCycleInterval(500);
  tray_icon1_.SetEnabled(false);
  tray_icon1_.SetHint(kMonitorTitle);
  tray_icon1_.SetIcon("TRAY0");
  tray_icon1_.SetIconVisible(true);
  tray_icon1_.SetIconIndex(0);
  tray_icon1_.SetPopupMenu(&popup_menu1_);
  tray_icon1_.SetMinimizeToTray(true);
  tray_icon1_.SetOnDblClick(
      [this](widgets::TPlumTrayIcon&) { RevealMainWindow(); });
  // The monitor lives in the tray: its window stays hidden at start.
  tray_icon1_.SetOnStartup([](widgets::TPlumTrayIcon&, bool& show_main_form) {
    show_main_form = false;
  });

  balloon_control1_.SetText({kConversionText});
  balloon_control1_.SetTitle(kMonitorTitle);
  balloon_control1_.SetDuration(kConversionSeconds);
  balloon_control1_.SetHorizontal(widgets::blnLeft);
  balloon_control1_.SetVertical(widgets::blnTop);
  balloon_control1_.SetPosition(widgets::blnArrowTopLeft);
  balloon_control1_.SetPixelCoordinateX(0);
  balloon_control1_.SetPixelCoordinateY(0);
  balloon_control1_.SetBalloonType(widgets::blnInfo);

  prev_inst1_.SetAllowedInst(1);
}

void TMain::PlaceBalloonAtTray() {
  const platform::Size screen = platform_.application->ScreenSize();
  PlaceBalloon(screen.width - kBalloonFromRight,
               screen.height - kBalloonFromBottom);
}

void TMain::PlaceBalloon(int x, int y) {
  balloon_control1_.SetPixelCoordinateX(x);
  balloon_control1_.SetPixelCoordinateY(y);
}

void TMain::ShowBalloon() { balloon_control1_.ShowBalloon(); }

void TMain::ShowNotice(const std::vector<std::string>& lines) {
  const std::vector<std::string> text = balloon_control1_.Text();
  balloon_control1_.SetText(lines);
  balloon_control1_.ShowBalloon();
  balloon_control1_.SetText(text);
}

void TMain::SetCycleIcons(bool cycle) { tray_icon1_.SetCycleIcons(cycle); }

void TMain::SetIconIndex(int index) { tray_icon1_.SetIconIndex(index); }

// Only a start with arguments greets: the start at log-on has none. NT 4.0
// and earlier get no balloon.
void TMain::WelcomeBalloon() {
  if (arguments_.empty()) return;
  balloon_control1_.SetText(
      {"Welcome to Plumeta", "Right-click the happy icon to display the menu"});
  balloon_control1_.SetDuration(kWelcomeSeconds);
  if (!IsOldNtName(os_name_)) {
    balloon_control1_.ShowBalloon();
  }
}

// NT 4.0 and earlier get no balloon.
void TMain::LastSessionBalloon() {
  if (IsOldNtName(os_name_)) return;
  ShowNotice({"A PDF from the last session is ready",
              "Right-click the happy icon and choose View Last Result"});
}

void TMain::PrepareConversionBalloon() {
  balloon_control1_.SetText({kConversionText});
  balloon_control1_.SetDuration(kConversionSeconds);
}

// Shown, and made the active window: revealing alone leaves the hidden
// application window active, so keys would not reach the form.
void TMain::RevealMainWindow() {
  tray_icon1_.RevealMainWindow();
  window().SetForeground();
}

void TMain::ConcealMainWindow() { tray_icon1_.ConcealMainWindow(); }

// Nothing shows the icon again during this run; the watcher still works.
void TMain::HideIcon1Click() { tray_icon1_.SetIconVisible(false); }

}  // namespace plumeta

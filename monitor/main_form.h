// TMain, the tray monitor's main window. Its methods live by concern:
//   main_form.cpp              components, start-up (FormCreate), close,
//                              destroy, quit, Timer1, the window's clicks
//   main_menu.cpp              the tray menu's table (main_menu.h): each
//                              item's value or the code it runs, TrayCommands'
//                              or TMain's; PopupMenu1 built from it
//   settings_handlers.cpp      the conversion settings' menu items, loading
//                              them, the Permission string
//   response_file_writer.cpp   WriteResponseFile, the owner password
//   tray_presence.cpp          the tray icon, the balloons, the single-
//                              instance guard, the window shown and hidden
//   tray_command_handlers.cpp  "Show PDF when done"
//   auto_save_handlers.cpp     auto-save's settings, "Save Automatically...",
//                              the folder that cannot be used
//   combine_handlers.cpp       "Combine Jobs", "Save Combined PDF...", the
//                              collection a former run left
// The print-job watcher (JobWatcher), the conversion flow (ConversionFlow)
// and the tray commands see TMain as FlowSettings and FlowWindow
// (monitor_view.h). The menu's items keep the form designer's names
// (Options1, N721...): the console protocol and the tests click them by name.
#ifndef MONITOR_MAIN_FORM_H_
#define MONITOR_MAIN_FORM_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/module_list.h"
#include "common/system_names.h"
#include "common/system_utils.h"
#include "monitor/auto_save_settings.h"
#include "monitor/combined_pdf.h"
#include "monitor/conversion_settings.h"
#include "monitor/job_watcher.h"
#include "monitor/main_menu.h"
#include "monitor/monitor_view.h"
#include "monitor/save_dialog.h"
#include "monitor/session_watch.h"
#include "monitor/tray_commands.h"
#include "platform/balloon_windows.h"
#include "platform/notification_area.h"
#include "platform/platform.h"
#include "platform/top_level_windows.h"
#include "widgets/balloon.h"
#include "widgets/image_list.h"
#include "widgets/popup_menu.h"
#include "widgets/prev_inst.h"
#include "widgets/tray_icon.h"

namespace plumeta {

// What the tray presence needs of the system beside Platform.
struct TrayPlatform {
  platform::NotificationArea& notification_area;
  platform::BalloonWindows& balloon_windows;
  platform::TopLevelWindows& top_level_windows;
};

class TMain : public FlowSettings, public FlowWindow {
 public:
  // Creates the components: the image list, the popup menu, the window
  // (hidden), the tray icon, the balloon, the single-instance guard and
  // Timer1. FormCreate has not run yet.
  TMain(platform::Platform& platform, TrayPlatform tray,
        std::vector<std::string> arguments);
  ~TMain() override;  // runs FormDestroy
  TMain(const TMain&) = delete;
  TMain& operator=(const TMain&) = delete;

  // The end of loading, then the "main window created" event: the tray icon
  // asks OnStartup (which keeps the window hidden) and goes into the tray,
  // then FormCreate runs, whose error (if any) is shown in the error box.
  void Create();
  // Whether the program entry is to show the window once Create is done.
  bool show_main_form() const { return show_main_form_; }

  // Runs an event handler; an error it raises is shown in the error box with
  // the application title. False when that happened.
  bool Handle(const std::function<void()>& handler);

  // Shows PopupMenu1 at `at` (screen pixels) and runs the chosen item.
  void PopupMenuAt(platform::Point at);
  // Clicks an item of PopupMenu1 by name, as if chosen from the menu; false
  // when there is no such item or it cannot be clicked: a separator, a
  // submenu, a hidden or a disabled item.
  bool ClickMenuItem(const std::string& name);

  // The event handlers. Each may raise PlumetaError; Handle reports it. The
  // menu's items run theirs through the table in main_menu.cpp.
  void FormCreate();
  void FormClose();
  void FormDestroy();
  void Button4Click();
  void HideIcon1Click();
  void Exit2Click();
  // A radio item of `submenu`: ticks it and gives its setting the row's value.
  void ChooseSetting(const MenuSubmenu& submenu, const MenuRow& row,
                     widgets::TMenuItem& sender);
  void UserPassword1Click();
  void OwnerPassword1Click();
  // A "PDF Security" item, which has ticked or cleared itself.
  void SecurityItemClick();
  void SaveAutomatically1Click();
  void CombineJobs1Click();
  void SaveCombinedPdf();
  void Timer1Timer();

  // The Permission setting from the eight "PDF Security" checks.
  void PermissionStringFromMenu();
  // Clears the checks of the security items the Permission setting withholds.
  void ApplyPermissionString();
  // Rewrites the Ghostscript argument file from the settings.
  void WriteResponseFile();

  // The window, which the program entry shows when show_main_form() says so.
  platform::FormWindow& window() { return *window_; }

  // FlowSettings
  std::string LastResult() override { return last_result_; }
  std::string OsName() override { return os_name_; }
  void SetOsName(const std::string& name) override { os_name_ = name; }
  bool ShowPdfWhenDone() override;
  // The auto-save folder when PDFs can be saved there, else empty; a folder
  // that cannot be used is reported the first time it is asked for.
  std::string AutoSaveFolder() override;
  std::string FileNameTemplate() override {
    return auto_save_.file_name_template;
  }
  std::optional<std::string> ArgumentFileOutput() override;
  bool CombineJobs() override;
  platform::ErrorCode AddToCombinedPdf(const std::string& pdf,
                                       const std::string& document,
                                       const std::string& user,
                                       std::string* into) override;
  const CombinedPdf& combined_pdf() const { return *combined_pdf_; }
  // FlowWindow
  void SetCycleIcons(bool cycle) override;
  void SetIconIndex(int index) override;
  void RevealMainWindow() override;
  void ConcealMainWindow() override;
  void PlaceBalloon(int x, int y) override;
  void ShowBalloon() override;
  void ShowNotice(const std::vector<std::string>& lines) override;

 private:
  std::unique_ptr<platform::FormWindow> CreateMainWindow();
  void BuildPopupMenu1();
  void SetUpTrayPresence();
  void PlaceBalloonAtTray();
  void WelcomeBalloon();
  // Says that a PDF from the last session is ready as the last result.
  void LastSessionBalloon();
  void PrepareConversionBalloon();
  void OnWindowClick(const std::string& control);
  void ShowPrintingPreferencesItems();
  void RegisterForStartAtLogOn();
  void LoadConversionSettings();
  // Reads the auto-save settings, reports what cannot be used, and sets the
  // "Save Automatically..." item from them.
  void LoadAutoSaveSettings();
  // "Save Combined PDF..." enabled while something is collected.
  void UpdateCombinedPdfItem();
  // Says how many documents a former run collected.
  void CollectedBalloon();
  std::string FreshOwnerPassword();
  // The save dialog's guard: LastResult, a set-aside PDF and the argument
  // file are never a target (the user is told why).
  bool RefuseOwnFile(const std::string& path);
  void ShowMessage(const std::string& text);
  void SetTimer1Enabled(bool enabled);

  platform::Platform& platform_;
  std::vector<std::string> arguments_;
  ModuleList modules_;
  SystemUtils system_utils_;
  // The components in the order they refer to each other: the tray icon
  // shows the image list and opens the menu over the window.
  widgets::TImageList image_list1_{
      {"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"}};
  widgets::TPopupMenu popup_menu1_;
  std::unique_ptr<platform::FormWindow> window_;
  widgets::TPlumTrayIcon tray_icon1_;
  widgets::TBalloonControl balloon_control1_;
  widgets::TPrevInst prev_inst1_;
  TSaveDialog save_dialog1_;
  std::unique_ptr<JobWatcher> job_watcher_;
  std::unique_ptr<TrayCommands> tray_commands_;
  std::unique_ptr<CombinedPdf> combined_pdf_;
  std::unique_ptr<SessionWatch> session_watch_;
  platform::Application::TimerId timer1_ = 0;
  bool show_main_form_ = true;

  int runs_under_wow64_ = 0;
  std::string os_name_;
  std::vector<std::string> printers_;
  std::string last_result_;
  ConversionSettings settings_;
  // Settings that were never loaded, or not all read, are never stored.
  bool settings_loaded_ = false;
  // The settings that could not be read at start, and all settings as they
  // stood then: at close those are left alone unless the user changed them.
  std::vector<std::string> unread_settings_;
  ConversionSettings loaded_settings_;
  AutoSaveSettings auto_save_;
  // The folder whose problem has been shown.
  std::optional<std::string> reported_folder_;
};

}  // namespace plumeta

#endif  // MONITOR_MAIN_FORM_H_

// TMain, the tray monitor's main window: its start-up sequence, the close
// that stores the conversion settings, the quit command, the popup menu with
// the conversion settings, and the Ghostscript argument file they produce.
//
// The tray presence and the print-job watcher plug into the places that are
// theirs through Hooks: each hook runs at its step and does nothing while it
// is empty.
#ifndef MONITOR_MAIN_FORM_H_
#define MONITOR_MAIN_FORM_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/module_list.h"
#include "common/system_utils.h"
#include "monitor/conversion_settings.h"
#include "monitor/popup_menu.h"
#include "platform/platform.h"

namespace plumeta {

// The application title: error-box caption, application window title.
inline constexpr char kMonitorTitle[] = "Plumeta";

class TMain {
 public:
  struct Hooks {
    // Before FormCreate: the tray icon's OnStartup, which may keep the main
    // window hidden at start.
    std::function<void(bool& show_main_form)> on_startup;
    // Start-up step 5: fill the printer list.
    std::function<void(std::vector<std::string>& printers)> fill_printer_list;
    // Start-up step 6: the single-instance check.
    std::function<void()> check_previous_instance;
    // Start-up step 8: the tray icon starts answering the mouse.
    std::function<void()> enable_tray_icon;
    // Start-up step 11: place the balloon.
    std::function<void()> place_balloon;
    // Start-up step 12: the welcome balloon.
    std::function<void()> welcome_balloon;
    // Start-up step 13: prepare the conversion balloon.
    std::function<void()> prepare_conversion_balloon;
    // Hides the main window (FormClose); the window's own hide when empty.
    std::function<void()> conceal_main_window;
    // Every tick of Timer1 (200 ms): the job poll.
    std::function<void()> timer1_tick;
    // A click on the support picture Image2.
    std::function<void()> image2_click;
    // FormDestroy: release the JobTable.
    std::function<void()> release_job_table;
  };

  // Creates the components: the popup menu, the window (hidden) and Timer1.
  // FormCreate has not run yet.
  TMain(platform::Platform& platform, std::vector<std::string> arguments);
  ~TMain();  // runs FormDestroy
  TMain(const TMain&) = delete;
  TMain& operator=(const TMain&) = delete;

  // The "main window created" event: the tray icon's OnStartup, then
  // FormCreate, whose error (if any) is shown in the error box.
  void Create();
  // Whether the program entry is to show the window once Create is done.
  bool show_main_form() const { return show_main_form_; }

  // Runs an event handler; an error it raises is shown in the error box with
  // the application title. False when that happened.
  bool Handle(const std::function<void()>& handler);

  // Shows PopupMenu1 at `at` (screen pixels) and runs the chosen item.
  void PopupMenuAt(platform::Point at);
  // Clicks an item of PopupMenu1 by name, as if chosen from the menu; false
  // when there is no such item or it cannot be clicked.
  bool ClickMenuItem(const std::string& name);

  // The event handlers. Each may raise PlumetaError; Handle reports it.
  void FormCreate();
  void FormClose();
  void FormDestroy();
  void Button4Click();
  void Exit2Click(MenuItem& sender);
  void Default1Click(MenuItem& sender);
  void N121Click(MenuItem& sender);
  void N721Click(MenuItem& sender);
  void UserPassword1Click(MenuItem& sender);
  void OwnerPassword1Click(MenuItem& sender);
  void Printdocument1Click(MenuItem& sender);
  void Modifycontentsofdocument1Click(MenuItem& sender);
  void Addormodifytextannotations1Click(MenuItem& sender);
  void Copytextandgraphicsfromdocument1Click(MenuItem& sender);
  void Fillininteraciveformfields1Click(MenuItem& sender);
  void Extracttextandgraphics1Click(MenuItem& sender);
  void Assemblethedocument1Click(MenuItem& sender);
  void Highqualityprint1Click(MenuItem& sender);
  void Timer1Timer();

  // The Permission setting from the eight "PDF Security" checks.
  void PermissionStringFromMenu();
  // Clears the checks of the security items the Permission setting withholds.
  void ApplyPermissionString();
  // Rewrites the Ghostscript argument file from the settings.
  void WriteResponseFile();

  Hooks& hooks() { return hooks_; }
  platform::Platform& platform() { return platform_; }
  platform::FormWindow& window() { return *window_; }
  PopupMenu& popup_menu1() { return popup_menu1_; }
  const std::vector<std::string>& arguments() const { return arguments_; }
  SystemUtils& system_utils() { return system_utils_; }
  int runs_under_wow64() const { return runs_under_wow64_; }
  const std::string& os_name() const { return os_name_; }
  void set_os_name(std::string name) { os_name_ = std::move(name); }
  const std::string& last_result() const { return last_result_; }
  std::vector<std::string>& printers() { return printers_; }
  const ConversionSettings& settings() const { return settings_; }
  bool timer1_enabled() const { return timer1_ != 0; }
  void SetTimer1Enabled(bool enabled);

 private:
  void BuildPopupMenu1();
  void OnWindowClick(const std::string& control);
  void ShowPrintingPreferencesItems();
  void RegisterForStartAtLogOn();
  void LoadConversionSettings();
  void SecurityItemClick(MenuItem& sender);
  void CheckOnly(MenuItem& sender, const std::vector<const char*>& group);
  std::string FreshOwnerPassword();
  void ShowMessage(const std::string& text);
  static void Run(const std::function<void()>& hook) {
    if (hook) hook();
  }

  platform::Platform& platform_;
  std::vector<std::string> arguments_;
  ModuleList modules_;
  SystemUtils system_utils_;
  Hooks hooks_;
  PopupMenu popup_menu1_{"PopupMenu1"};
  std::unique_ptr<platform::FormWindow> window_;
  platform::Application::TimerId timer1_ = 0;
  bool show_main_form_ = true;

  int runs_under_wow64_ = 0;
  std::string os_name_;
  std::vector<std::string> printers_;
  std::string last_result_;
  ConversionSettings settings_;
  // Settings that were never loaded are never stored.
  bool settings_loaded_ = false;
};

}  // namespace plumeta

#endif  // MONITOR_MAIN_FORM_H_

// TMain's components, its start-up sequence, closing and quitting.
#include "monitor/main_form.h"

#include "common/application_error.h"
#include "common/errors.h"
#include "common/os_edition.h"
#include "monitor/job_poll.h"
#include "monitor/last_result_watch.h"
#include "monitor/main_form_layout.h"
#include "monitor/own_files.h"
#include "monitor/response_file.h"

namespace plumeta {
namespace {

constexpr std::uint32_t kTimer1Interval = 200;

}  // namespace

TMain::TMain(platform::Platform& platform, TrayPlatform tray,
             std::vector<std::string> arguments)
    : platform_(platform),
      arguments_(std::move(arguments)),
      modules_(*platform.libraries),
      system_utils_(*platform.system, modules_),
      popup_menu1_(*platform.dialogs),
      window_(CreateMainWindow()),
      tray_icon1_(*platform.application, tray.notification_area, window_.get()),
      balloon_control1_(*platform.application, tray.balloon_windows),
      prev_inst1_(*platform.application, tray.top_level_windows),
      save_dialog1_(*platform.dialogs) {
  BuildPopupMenu1();
  SetUpTrayPresence();
  save_dialog1_.set_guard(
      [this](const std::string& path) { return RefuseOwnFile(path); });
  job_watcher_ =
      std::make_unique<JobWatcher>(platform_, *this, *this, save_dialog1_);
  tray_commands_ = std::make_unique<TrayCommands>(platform_, save_dialog1_,
                                                  *this, job_watcher_->flow());
  combined_pdf_ = std::make_unique<CombinedPdf>(
      platform_, *this, *this, job_watcher_->flow(), save_dialog1_,
      [this] { UpdateCombinedPdfItem(); });
  UpdateCombinedPdfItem();
  SetTimer1Enabled(true);
}

std::unique_ptr<platform::FormWindow> TMain::CreateMainWindow() {
  platform::FormEvents events;
  events.on_close = [this] { Handle([this] { FormClose(); }); };
  events.on_click = [this](const std::string& control) {
    OnWindowClick(control);
  };
  events.on_menu_item = [this](const std::string& item) {
    return ClickMenuItem(item);
  };
  return platform_.forms->CreateForm(MainFormDescription(), std::move(events));
}

TMain::~TMain() {
  SetTimer1Enabled(false);
  Handle([this] { FormDestroy(); });
}

void TMain::Create() {
  show_main_form_ = tray_icon1_.Loaded();
  Handle([this] { FormCreate(); });
}

bool TMain::Handle(const std::function<void()>& handler) {
  return RunReportingErrors(*platform_.user_interface, kMonitorTitle, handler);
}

void TMain::FormCreate() {
  runs_under_wow64_ = system_utils_.IsWow64() ? 256 : 0;  // 1
  os_name_ =
      plumeta::OsName(OsEdition(*platform_.system, *platform_.registry));  // 2
  ShowPrintingPreferencesItems();                                          // 3
  // The Run value matters only at the next log-on: a failure to write it is
  // shown, and the monitor still starts now. Before Vista only.
  Handle([this] { RegisterForStartAtLogOn(); });  // 4
  printers_.clear();                              // 5
  EnumPrinterNames(*platform_.spooler, *platform_.system,
                   *platform_.user_interface, printers_);
  // A second copy only asks to end here: its message loop ends at once. It
  // leaves the argument file alone, which holds the running copy's settings.
  const bool ending = prev_inst1_.CheckPrevInst();            // 6
  last_result_ = LastResultPath(system_utils_.TempFolder());  // 7
  tray_icon1_.SetEnabled(true);                               // 8
  if (!ending) LoadConversionSettings();                      // 9
  if (!ending) LoadAutoSaveSettings();
  if (!ending) combined_pdf_->Load(system_utils_.TempFolder());
  // The argument file follows this user's session to the front.
  if (!ending) {
    session_watch_ = std::make_unique<SessionWatch>(
        *window_, *platform_.application,
        [this] { Handle([this] { WriteResponseFile(); }); });
  }
  // The only copy of a PDF a former run left set aside goes back to
  // LastResult.
  const bool returned =
      !ending && ReturnOrphanedPdf(*platform_.files, last_result_);
  window_->SetControlVisible("Image2", true);  // 10
  PlaceBalloonAtTray();                        // 11
  WelcomeBalloon();                            // 12
  PrepareConversionBalloon();                  // 13
  if (returned) LastSessionBalloon();
  CollectedBalloon();
}

// The printing preferences need the NT family from version 5.0 on.
void TMain::ShowPrintingPreferencesItems() {
  const SystemDetails details = ReadSystemDetails(*platform_.system);
  const bool shown =
      details.operating_system == "Windows NT" && details.version != "4.0";
  for (const char* name : {"N6", "Configuration1"}) {
    if (widgets::TMenuItem* item = popup_menu1_.FindItem(name)) {
      item->SetVisible(shown);
    }
  }
}

// The Run value names the copy that started last. From Vista on, the
// scheduled task that setup registers starts the monitor instead: there the
// Run value would start nothing but Vista's "blocked startup programs"
// notice, or, with User Account Control off, a second copy.
void TMain::RegisterForStartAtLogOn() {
  if (StartsMonitorThroughLogOnTask(*platform_.system)) return;
  std::unique_ptr<platform::RegistryKey> key;
  if (platform_.registry->OpenKey(platform::RootKey::kLocalMachine, kRunKey,
                                  /*create=*/true,
                                  &key) != platform::kSuccess ||
      key->WriteString(kRunValueName, platform_.system->ProgramPath()) !=
          platform::kSuccess) {
    throw RegistryError::FailedToSetData(kRunValueName);
  }
}

void TMain::FormClose() {
  if (settings_loaded_) {
    PermissionStringFromMenu();
    StoreConversionSettings(*platform_.registry, settings_, unread_settings_,
                            loaded_settings_);
  }
  // The window stays: closing it never ends the program.
  tray_icon1_.ConcealMainWindow();
}

void TMain::FormDestroy() {
  job_watcher_->ReleaseJobTable();
  printers_.clear();
}

void TMain::Exit2Click() {
  const platform::MessageResult answer = platform_.user_interface->MessageBox(
      "Do you really want to quit? If you quit now, you won't be able to "
      "create PDF files with Plumeta.",
      "Warning", platform::MessageButtons::kYesNo, platform::MessageIcon::kNone,
      /*owned_by_main_window=*/true);
  if (answer != platform::MessageResult::kYes) return;
  SetTimer1Enabled(false);
  platform_.application->Terminate();
  window_->Close();
}

void TMain::Button4Click() {
  const platform::Size screen = platform_.application->ScreenSize();
  PopupMenuAt({screen.width / 2, screen.height / 2});
}

void TMain::PopupMenuAt(platform::Point at) { popup_menu1_.Popup(at.x, at.y); }

bool TMain::ClickMenuItem(const std::string& name) {
  widgets::TMenuItem* item = popup_menu1_.FindItem(name);
  if (item == nullptr || item->Caption() == "-" || item->Count() > 0 ||
      !item->Visible() || !item->Enabled()) {
    return false;
  }
  item->Click();
  return true;
}

void TMain::OnWindowClick(const std::string& control) {
  if (control == "Button4") {
    Handle([this] { Button4Click(); });
  } else if (control == "Image2") {
    Handle([this] { tray_commands_->MailSupport(); });
  }
}

void TMain::SetTimer1Enabled(bool enabled) {
  if (enabled == (timer1_ != 0)) return;
  if (enabled) {
    timer1_ = platform_.application->SetTimer(
        kTimer1Interval, [this] { Handle([this] { Timer1Timer(); }); });
  } else {
    platform_.application->KillTimer(timer1_);
    timer1_ = 0;
  }
}

void TMain::Timer1Timer() {
  if (session_watch_) session_watch_->Tick();
  job_watcher_->Poll();
  combined_pdf_->Tick();
}

bool TMain::RefuseOwnFile(const std::string& path) {
  const OwnFiles own{last_result_, ArgumentFilePaths(*platform_.system,
                                                     runs_under_wow64_ != 0)};
  if (!IsOwnFile(*platform_.files, own, path)) return false;
  ShowOwnFileRefusal(*platform_.user_interface, path);
  return true;
}

void TMain::ShowMessage(const std::string& text) {
  platform_.user_interface->MessageBox(text, kMonitorTitle,
                                       platform::MessageButtons::kOk,
                                       platform::MessageIcon::kNone,
                                       /*owned_by_main_window=*/true);
}

}  // namespace plumeta

// TMain's components, its start-up sequence, closing and quitting.
#include "monitor/main_form.h"

#include "common/application_error.h"
#include "common/errors.h"
#include "common/os_edition.h"
#include "monitor/main_form_layout.h"
#include "monitor/response_file.h"

namespace plumeta {
namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Plumeta";
constexpr std::uint32_t kTimer1Interval = 200;

}  // namespace

TMain::TMain(platform::Platform& platform, std::vector<std::string> arguments)
    : platform_(platform),
      arguments_(std::move(arguments)),
      modules_(*platform.libraries),
      system_utils_(*platform.system, modules_) {
  BuildPopupMenu1();
  platform::FormEvents events;
  events.on_close = [this] { Handle([this] { FormClose(); }); };
  events.on_click = [this](const std::string& control) {
    OnWindowClick(control);
  };
  events.on_menu_item = [this](const std::string& item) {
    return ClickMenuItem(item);
  };
  window_ =
      platform_.forms->CreateForm(MainFormDescription(), std::move(events));
  SetTimer1Enabled(true);
}

TMain::~TMain() {
  SetTimer1Enabled(false);
  Handle([this] { FormDestroy(); });
}

void TMain::Create() {
  if (hooks_.on_startup) hooks_.on_startup(show_main_form_);
  Handle([this] { FormCreate(); });
}

bool TMain::Handle(const std::function<void()>& handler) {
  return RunReportingErrors(*platform_.user_interface, kMonitorTitle, handler);
}

void TMain::FormCreate() {
  runs_under_wow64_ = system_utils_.IsWow64() ? 256 : 0;                 // 1
  os_name_ = OsName(OsEdition(*platform_.system, *platform_.registry));  // 2
  ShowPrintingPreferencesItems();                                        // 3
  RegisterForStartAtLogOn();                                             // 4
  printers_.clear();                                                     // 5
  if (hooks_.fill_printer_list) hooks_.fill_printer_list(printers_);
  Run(hooks_.check_previous_instance);                        // 6
  last_result_ = LastResultPath(system_utils_.TempFolder());  // 7
  Run(hooks_.enable_tray_icon);                               // 8
  LoadConversionSettings();                                   // 9
  window_->SetControlVisible("Image2", true);                 // 10
  Run(hooks_.place_balloon);                                  // 11
  Run(hooks_.welcome_balloon);                                // 12
  Run(hooks_.prepare_conversion_balloon);                     // 13
}

// The printing preferences need the NT family from version 5.0 on.
void TMain::ShowPrintingPreferencesItems() {
  const SystemDetails details = ReadSystemDetails(*platform_.system);
  const bool shown =
      details.operating_system == "Windows NT" && details.version != "4.0";
  for (const char* name : {"N6", "Configuration1"}) {
    if (MenuItem* item = popup_menu1_.Find(name)) item->set_visible(shown);
  }
}

// The Run value names the copy that started last.
void TMain::RegisterForStartAtLogOn() {
  std::unique_ptr<platform::RegistryKey> key;
  if (platform_.registry->OpenKey(platform::RootKey::kLocalMachine, kRunKey,
                                  /*create=*/true,
                                  &key) != platform::kSuccess ||
      key->WriteString(kRunValue, platform_.system->ProgramPath()) !=
          platform::kSuccess) {
    throw RegistryError::FailedToSetData(kRunValue);
  }
}

void TMain::FormClose() {
  if (settings_loaded_) {
    PermissionStringFromMenu();
    StoreConversionSettings(*platform_.registry, settings_);
  }
  if (hooks_.conceal_main_window) {
    hooks_.conceal_main_window();
  } else {
    window_->SetVisible(false);
  }
  // The window stays: closing it never ends the program.
}

void TMain::FormDestroy() {
  Run(hooks_.release_job_table);
  printers_.clear();
}

void TMain::Exit2Click(MenuItem&) {
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

void TMain::PopupMenuAt(platform::Point at) {
  const std::string chosen =
      platform_.dialogs->TrackPopupMenu(popup_menu1_.View(), at);
  if (!chosen.empty()) ClickMenuItem(chosen);
}

bool TMain::ClickMenuItem(const std::string& name) {
  bool clicked = false;
  Handle([&] { clicked = popup_menu1_.Click(name); });
  return clicked;
}

void TMain::OnWindowClick(const std::string& control) {
  if (control == "Button4") {
    Handle([this] { Button4Click(); });
  } else if (control == "Image2" && hooks_.image2_click) {
    Handle(hooks_.image2_click);
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

void TMain::Timer1Timer() { Run(hooks_.timer1_tick); }

void TMain::ShowMessage(const std::string& text) {
  platform_.user_interface->MessageBox(text, kMonitorTitle,
                                       platform::MessageButtons::kOk,
                                       platform::MessageIcon::kNone,
                                       /*owned_by_main_window=*/true);
}

}  // namespace plumeta

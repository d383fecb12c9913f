// TMain with the print-job watcher and the tray menu commands: the conversion
// flow reaches the tray icon, the balloon and the window through TMain's
// components, and the menu items and the support picture run the commands.
#include "monitor/job_poll.h"
#include "monitor/main_form.h"

namespace plumeta {
namespace {

class TMainConversionTray : public ConversionTray {
 public:
  explicit TMainConversionTray(TMain& main) : main_(main) {}

  void SetCycleIcons(bool cycle) override {
    main_.TrayIcon1().SetCycleIcons(cycle);
  }
  void SetIconIndex(int index) override {
    main_.TrayIcon1().SetIconIndex(index);
  }
  void RevealMainWindow() override { main_.RevealAndActivateMainWindow(); }
  void ConcealMainWindow() override { main_.TrayIcon1().ConcealMainWindow(); }
  void PlaceBalloon(int x, int y) override {
    main_.BalloonControl1().SetPixelCoordinateX(x);
    main_.BalloonControl1().SetPixelCoordinateY(y);
  }
  void ShowBalloon() override { main_.BalloonControl1().ShowBalloon(); }
  void ShowNotice(const std::vector<std::string>& lines) override {
    widgets::TBalloonControl& balloon = main_.BalloonControl1();
    const std::vector<std::string> text = balloon.Text();
    balloon.SetText(lines);
    balloon.ShowBalloon();
    balloon.SetText(text);
  }

 private:
  TMain& main_;
};

}  // namespace

MonitorState TMain::WatcherState() {
  MonitorState state;
  state.last_result = [this] { return last_result_; };
  state.os_name = [this] { return os_name_; };
  state.set_os_name = [this](const std::string& name) { os_name_ = name; };
  state.show_pdf_when_done = [this] { return show_pdf_when_done(); };
  state.auto_save_folder = [this] { return UsableAutoSaveFolder(); };
  state.file_name_template = [this] { return auto_save_.file_name_template; };
  return state;
}

void TMain::SetUpJobWatcher() {
  conversion_tray_ = std::make_unique<TMainConversionTray>(*this);
  job_watcher_ = std::make_unique<JobWatcher>(platform_, *conversion_tray_,
                                              save_dialog1_, WatcherState());
  tray_commands_ =
      std::make_unique<TrayCommands>(platform_, save_dialog1_, WatcherState());
  hooks_.fill_printer_list = [this](std::vector<std::string>& printers) {
    EnumPrinterNames(*platform_.spooler, *platform_.system,
                     *platform_.user_interface, printers);
  };
  hooks_.timer1_tick = [this] { job_watcher_->Timer1Timer(); };
  hooks_.image2_click = [this] { Image2Click(); };
  hooks_.release_job_table = [this] { job_watcher_->ReleaseJobTable(); };
}

bool TMain::show_pdf_when_done() {
  widgets::TMenuItem* item = popup_menu1_.FindItem("ShowPDFwhendone1");
  return item != nullptr && item->Checked();
}

void TMain::Viewlastresult1Click(widgets::TMenuItem&) {
  tray_commands_->Viewlastresult1Click();
}

void TMain::SaveLastResult1Click(widgets::TMenuItem&) {
  tray_commands_->SaveLastResult1Click();
}

void TMain::ShowPDFwhendone1Click(widgets::TMenuItem& sender) {
  sender.SetChecked(!sender.Checked());
}

void TMain::Configuration1Click(widgets::TMenuItem&) {
  tray_commands_->Configuration1Click();
}

void TMain::Options1Click(widgets::TMenuItem&) {
  tray_commands_->Options1Click();
}

void TMain::Help1Click(widgets::TMenuItem&) { tray_commands_->Help1Click(); }

void TMain::Image2Click() { tray_commands_->Image2Click(); }

}  // namespace plumeta

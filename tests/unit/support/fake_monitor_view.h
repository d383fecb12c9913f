// The main window as the job watcher, the conversion flow and the tray
// commands see it: the settings a test sets, and the tray side of the flow
// recorded in order.
#ifndef TESTS_UNIT_SUPPORT_FAKE_MONITOR_VIEW_H_
#define TESTS_UNIT_SUPPORT_FAKE_MONITOR_VIEW_H_

#include <optional>
#include <string>
#include <vector>

#include "monitor/monitor_view.h"

namespace plumeta::testing {

class FakeMonitorView : public FlowSettings, public FlowWindow {
 public:
  std::string last_result = "C:\\Temp\\1024.pdf";
  std::string os_name;
  bool show_pdf_when_done = true;
  std::string auto_save_folder;
  std::string file_name_template = "<Title>";
  std::optional<std::string> argument_file_output;
  bool combine_jobs = false;
  platform::ErrorCode add_result = platform::kSuccess;
  std::vector<std::string> calls;
  bool cycling = false;
  int icon_index = 0;
  bool window_shown = false;

  std::string LastResult() override { return last_result; }
  std::string OsName() override { return os_name; }
  void SetOsName(const std::string& name) override { os_name = name; }
  bool ShowPdfWhenDone() override { return show_pdf_when_done; }
  std::string AutoSaveFolder() override { return auto_save_folder; }
  std::string FileNameTemplate() override { return file_name_template; }
  std::optional<std::string> ArgumentFileOutput() override {
    return argument_file_output;
  }
  bool CombineJobs() override { return combine_jobs; }
  platform::ErrorCode AddToCombinedPdf(const std::string& pdf,
                                       const std::string& document,
                                       const std::string&,
                                       std::string* into) override {
    calls.push_back("collect " + pdf + " " + document);
    *into = "C:\\Temp\\Plumeta Combined";
    return add_result;
  }

  void SetCycleIcons(bool cycle) override {
    cycling = cycle;
    calls.push_back(cycle ? "cycle on" : "cycle off");
  }
  void SetIconIndex(int index) override {
    icon_index = index;
    calls.push_back("icon " + std::to_string(index));
  }
  void RevealMainWindow() override {
    window_shown = true;
    calls.push_back("reveal");
  }
  void ConcealMainWindow() override {
    window_shown = false;
    calls.push_back("conceal");
  }
  void PlaceBalloon(int x, int y) override {
    calls.push_back("balloon at " + std::to_string(x) + "," +
                    std::to_string(y));
  }
  void ShowBalloon() override { calls.push_back("balloon"); }
  void ShowNotice(const std::vector<std::string>& lines) override {
    std::string call = "notice";
    for (const std::string& line : lines) call += " " + line;
    calls.push_back(call);
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_MONITOR_VIEW_H_

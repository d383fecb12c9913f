// The tray side of the conversion flow, recording each call in order.
#ifndef TESTS_UNIT_SUPPORT_FAKE_CONVERSION_TRAY_H_
#define TESTS_UNIT_SUPPORT_FAKE_CONVERSION_TRAY_H_

#include <string>
#include <vector>

#include "monitor/conversion_tray.h"

namespace plumeta::testing {

class FakeConversionTray : public ConversionTray {
 public:
  std::vector<std::string> calls;
  bool cycling = false;
  int icon_index = 0;
  bool window_shown = false;

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

#endif  // TESTS_UNIT_SUPPORT_FAKE_CONVERSION_TRAY_H_

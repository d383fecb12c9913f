// The two faces of the main window that the print-job watcher, the
// conversion flow and the tray commands see: FlowSettings, the values they
// read (LastResult's path, the Windows edition's name, the tick of "Show PDF
// when done", auto-save), and FlowWindow, what a job's flow does to the
// window (the tray icon's animation, the window shown and hidden through the
// icon, the balloon). TMain is the one implementation of both; the tests
// give a recording fake.
#ifndef MONITOR_MONITOR_VIEW_H_
#define MONITOR_MONITOR_VIEW_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/error_codes.h"

namespace plumeta {

// Where the monitor's balloons point, from the screen's bottom right corner:
// at the notification area.
inline constexpr int kBalloonFromRight = 90;
inline constexpr int kBalloonFromBottom = 25;

// Each value is read when it is needed, so a change made from the menu
// while a flow waits counts for that flow.
class FlowSettings {
 public:
  virtual ~FlowSettings() = default;

  virtual std::string LastResult() = 0;
  // The Windows edition's name, which the printing preferences learn late.
  virtual std::string OsName() = 0;
  virtual void SetOsName(const std::string& name) = 0;
  virtual bool ShowPdfWhenDone() = 0;
  // The folder each PDF is saved in without asking; empty when the save
  // dialog asks, also when the folder set cannot be used (which is reported
  // once).
  virtual std::string AutoSaveFolder() = 0;
  virtual std::string FileNameTemplate() = 0;
  // The output file the Ghostscript argument file names now, which another
  // user's monitor may have written; nullopt when it cannot be read.
  virtual std::optional<std::string> ArgumentFileOutput() = 0;
  // "Combine Jobs" is ticked: a job's PDF is collected, not delivered.
  virtual bool CombineJobs() = 0;
  // Moves the job's PDF at `pdf` into the collection; on failure it stays
  // there, the code says why and `into` where it was to go.
  virtual platform::ErrorCode AddToCombinedPdf(const std::string& pdf,
                                               const std::string& document,
                                               const std::string& user,
                                               std::string* into) = 0;
};

class FlowWindow {
 public:
  virtual ~FlowWindow() = default;

  // CycleIcons: true starts the animation at icon 0, false stops it.
  virtual void SetCycleIcons(bool cycle) = 0;
  virtual void SetIconIndex(int index) = 0;
  // Shows the main window, brings it in front of every other program's
  // window and gives it the input focus.
  virtual void RevealMainWindow() = 0;
  virtual void ConcealMainWindow() = 0;
  // The balloon's tip in screen pixels, then the balloon itself.
  virtual void PlaceBalloon(int x, int y) = 0;
  virtual void ShowBalloon() = 0;
  // The balloon with these lines for once, in place of its text.
  virtual void ShowNotice(const std::vector<std::string>& lines) = 0;
};

}  // namespace plumeta

#endif  // MONITOR_MONITOR_VIEW_H_

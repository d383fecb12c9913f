// The main window's state that the job watcher and the tray menu commands
// read and write: LastResult's path, the Windows edition name and the
// "Show PDF when done" tick.
#ifndef MONITOR_MONITOR_STATE_H_
#define MONITOR_MONITOR_STATE_H_

#include <functional>
#include <string>

namespace plumeta {

struct MonitorState {
  std::function<std::string()> last_result;
  std::function<std::string()> os_name;
  std::function<void(const std::string&)> set_os_name;
  std::function<bool()> show_pdf_when_done;
};

}  // namespace plumeta

#endif  // MONITOR_MONITOR_STATE_H_

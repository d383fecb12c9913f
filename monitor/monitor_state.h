// The main window's state that the job watcher and the tray menu commands
// read and write: LastResult's path, the Windows edition name, the
// "Show PDF when done" tick and auto-save.
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
  // The folder each PDF is saved in without asking; empty when the save
  // dialog asks, also when the folder set cannot be used (which is reported
  // once). May be left empty.
  std::function<std::string()> auto_save_folder;
  std::function<std::string()> file_name_template;
};

}  // namespace plumeta

#endif  // MONITOR_MONITOR_STATE_H_

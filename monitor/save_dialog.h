// SaveDialog1: the one save dialog the conversion flow and "Save Last Result
// As" share. Its file name lasts between uses: each flow proposes one, and
// an accepted dialog leaves the chosen path in it.
#ifndef MONITOR_SAVE_DIALOG_H_
#define MONITOR_SAVE_DIALOG_H_

#include <string>

#include "platform/dialogs.h"

namespace plumeta {

class TSaveDialog {
 public:
  explicit TSaveDialog(platform::Dialogs& dialogs) : dialogs_(dialogs) {}

  const std::string& file_name() const { return file_name_; }
  void set_file_name(std::string name) { file_name_ = std::move(name); }

  // Runs the dialog; true, with the chosen path as file name, when accepted.
  bool Execute() {
    auto chosen = dialogs_.SaveDialog(
        {file_name_, "Adobe PDF files (*.PDF)|*.PDF", "*.PDF"});
    if (!chosen) return false;
    file_name_ = *chosen;
    return true;
  }

 private:
  platform::Dialogs& dialogs_;
  std::string file_name_;
};

}  // namespace plumeta

#endif  // MONITOR_SAVE_DIALOG_H_

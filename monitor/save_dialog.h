// SaveDialog1: the one save dialog the conversion flow and "Save Last Result
// As" share. Its file name lasts between uses: each flow proposes one, and
// an accepted dialog leaves the chosen path in it. A path its guard refuses
// is never given back: the dialog asks again, proposing it.
#ifndef MONITOR_SAVE_DIALOG_H_
#define MONITOR_SAVE_DIALOG_H_

#include <functional>
#include <string>

#include "platform/dialogs.h"

namespace plumeta {

class TSaveDialog {
 public:
  explicit TSaveDialog(platform::Dialogs& dialogs) : dialogs_(dialogs) {}

  const std::string& file_name() const { return file_name_; }
  void set_file_name(std::string name) { file_name_ = std::move(name); }

  // `refuses` tells the user why a path cannot be taken and returns true,
  // or returns false for a path that can.
  void set_guard(std::function<bool(const std::string&)> refuses) {
    refuses_ = std::move(refuses);
  }

  // Runs the dialog; true, with the chosen path as file name, when accepted.
  bool Execute() {
    for (;;) {
      auto chosen = dialogs_.SaveDialog(
          {file_name_, "Adobe PDF files (*.PDF)|*.PDF", "*.PDF"});
      if (!chosen) return false;
      file_name_ = *chosen;
      if (!refuses_ || !refuses_(file_name_)) return true;
    }
  }

 private:
  platform::Dialogs& dialogs_;
  std::string file_name_;
  std::function<bool(const std::string&)> refuses_;
};

}  // namespace plumeta

#endif  // MONITOR_SAVE_DIALOG_H_

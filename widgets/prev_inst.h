// TPrevInst: keeps more than AllowedInst copies of a program from running.
// A running copy is a top-level window with the class name and the title of
// this program's own application window.
#ifndef WIDGETS_PREV_INST_H_
#define WIDGETS_PREV_INST_H_

#include "platform/application.h"
#include "platform/top_level_windows.h"
#include "widgets/component.h"

namespace plumeta::widgets {

class TPrevInst : public TComponent {
 public:
  TPrevInst(platform::Application& application,
            platform::TopLevelWindows& windows);

  // How many copies may run, this one included.
  int AllowedInst() const { return allowed_inst_; }
  void SetAllowedInst(int allowed) { allowed_inst_ = allowed; }

  // Counts the running copies. When there are more than AllowedInst, brings
  // another copy's window to the front, asks the application to end and
  // returns true; otherwise returns false.
  virtual bool CheckPrevInst();

 private:
  platform::Application& application_;
  platform::TopLevelWindows& windows_;
  int allowed_inst_ = 1;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_PREV_INST_H_

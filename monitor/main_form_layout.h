// What the tray monitor's main window shows, as data for the platform.
#ifndef MONITOR_MAIN_FORM_LAYOUT_H_
#define MONITOR_MAIN_FORM_LAYOUT_H_

#include "platform/form.h"

namespace plumeta {

platform::FormDescription MainFormDescription();

}  // namespace plumeta

#endif  // MONITOR_MAIN_FORM_LAYOUT_H_

// TImageList: the frames of the tray icon's animation, as icon resources of
// the program named in order.
#ifndef WIDGETS_IMAGE_LIST_H_
#define WIDGETS_IMAGE_LIST_H_

#include <string>
#include <utility>
#include <vector>

#include "widgets/component.h"

namespace plumeta::widgets {

class TImageList : public TComponent {
 public:
  explicit TImageList(std::vector<std::string> icon_names)
      : icon_names_(std::move(icon_names)) {}

  int Count() const { return static_cast<int>(icon_names_.size()); }
  // The icon resource of image `index`; empty when there is no such image.
  std::string IconName(int index) const {
    if (index < 0 || index >= Count()) return "";
    return icon_names_[index];
  }

 private:
  std::vector<std::string> icon_names_;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_IMAGE_LIST_H_

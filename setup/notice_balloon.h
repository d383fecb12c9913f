// The balloon the setup program shows once an installation is done, as the
// form sees it: the settings of one notice and the call that shows it. The
// program's composition root supplies the widget behind it.
#ifndef SETUP_NOTICE_BALLOON_H_
#define SETUP_NOTICE_BALLOON_H_

#include <string>
#include <vector>

namespace plumeta::setup {

// Where the balloon's body lies relative to its pointer's tip.
enum class BalloonPosition {
  kArrowTopLeft,
  kArrowTopRight,
  kArrowBottomLeft,
  kArrowBottomRight
};
enum class BalloonKind { kInfo, kError, kWarning };

struct BalloonNotice {
  std::string title;
  std::vector<std::string> lines;
  int x = 0;  // the pointer's tip, screen pixels
  int y = 0;
  int duration_seconds = 0;
  BalloonPosition position = BalloonPosition::kArrowTopLeft;
  BalloonKind kind = BalloonKind::kInfo;
  bool operator==(const BalloonNotice&) const = default;
};

class NoticeBalloon {
 public:
  virtual ~NoticeBalloon() = default;
  // Shows a new balloon and returns at once; it closes by itself.
  virtual void Show(const BalloonNotice& notice) = 0;
};

}  // namespace plumeta::setup

#endif  // SETUP_NOTICE_BALLOON_H_

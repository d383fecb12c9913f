// What the X server shows, for the wine suite: the root window taken with
// xwd and converted by ImageMagick, read back pixel by pixel. Runs the Linux
// tools through Wine's ntdll, so it works only under Wine with X.
#ifndef TESTS_WINE_SUPPORT_SCREEN_CAPTURE_H_
#define TESTS_WINE_SUPPORT_SCREEN_CAPTURE_H_

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace plumeta::wine_test {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

std::string ToString(const Rgb& colour);
// For GoogleTest's messages.
inline void PrintTo(const Rgb& colour, std::ostream* out) {
  *out << ToString(colour);
}

class ScreenCapture {
 public:
  // Takes the screen now; nullopt (with the reason in `error`) outside Wine
  // or without xwd and convert. `png_path` (a Linux path), when given, keeps
  // the picture.
  static std::optional<ScreenCapture> Take(std::string* error,
                                           const std::string& png_path = "");

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;  // RGB, rows top to bottom
};

// Runs a Linux command line with /bin/sh and waits; the exit status, or -1
// when Linux programs cannot be started from here.
int RunLinuxShell(const std::string& command);

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_SCREEN_CAPTURE_H_

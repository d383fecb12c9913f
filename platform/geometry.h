// Screen geometry at the platform boundary, in pixels.
#ifndef PLATFORM_GEOMETRY_H_
#define PLATFORM_GEOMETRY_H_

namespace plumeta::platform {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_GEOMETRY_H_

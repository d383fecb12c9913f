// A form as data: the portable code says what is on its window (pictures,
// labels, buttons, where, in which font) and gets the window's events back;
// each platform renders it its own way. The window never closes or destroys
// itself: the close box, Alt+F4 and WM_CLOSE only raise `on_close`, and the
// program decides.
#ifndef PLATFORM_FORM_H_
#define PLATFORM_FORM_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/window.h"

namespace plumeta::platform {

struct Font {
  std::string name;  // "Tahoma"
  int height = 0;    // the LOGFONT height: negative is the character height
  bool bold = false;
  bool operator==(const Font&) const = default;
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

enum class ControlKind {
  kPicture,  // a bitmap resource drawn at its place
  kLabel,    // lines of text
  kButton,   // a push button
};

struct ControlDescription {
  ControlKind kind = ControlKind::kLabel;
  std::string name;  // the component name: "Image1", "Label5", "Button4"
  Rect bounds;       // in the client area
  bool visible = true;
  // A label's lines, separated by "\r\n"; a button's caption.
  std::string text;
  // A picture: the name of its bitmap resource in the program file.
  std::string resource;
  // A label or button: its font when it has one of its own, else the form's.
  bool own_font = false;
  Font font;
  Color text_color;
  bool transparent = false;  // a label drawn over what lies beneath it
  // A picture that reports clicks (buttons always do).
  bool clickable = false;
};

struct FormDescription {
  std::string name;     // the class name: "TMain"
  std::string caption;  // "Plumeta"
  Size client_size;
  // A fixed dialog frame with only a close box; centred on the screen.
  Font font;
  // The program's icon resource for the window's caption and task list.
  std::string icon_resource;
  std::vector<ControlDescription> controls;
};

struct FormEvents {
  // The close box, Alt+F4, WM_CLOSE, or Close().
  std::function<void()> on_close;
  // A button or a clickable picture, by its name.
  std::function<void(const std::string& control)> on_click;
  // A popup-menu item chosen by name where the platform can do that without
  // the menu on screen (the host console's "click"); false when there is no
  // such item to click.
  std::function<bool(const std::string& item)> on_menu_item;
};

// The window of one form.
class FormWindow : public Window {
 public:
  virtual void SetControlVisible(const std::string& control, bool visible) = 0;
  virtual bool ControlVisible(const std::string& control) = 0;
  // As the close box: raises on_close.
  virtual void Close() = 0;
};

class Forms {
 public:
  virtual ~Forms() = default;
  // The first form a program creates is its main window: the owner of its
  // message boxes and dialogs. Created hidden.
  virtual std::unique_ptr<FormWindow> CreateForm(
      const FormDescription& description, FormEvents events) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_FORM_H_

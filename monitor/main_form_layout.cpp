#include "monitor/main_form_layout.h"

namespace plumeta {

using platform::ControlDescription;
using platform::ControlKind;
using platform::Rect;

namespace {

Rect At(int left, int top, int width, int height) {
  return Rect{left, top, left + width, top + height};
}

constexpr char kDescription[] =
    "Creating a PDF file is as simple as selecting the 'print'\r\n"
    "command from virtually any application and choosing\r\n"
    "the 'Plumeta' printer.\r\n"
    "\r\n"
    "Plumeta enables both novices and professionals to\r\n"
    "easily convert any Microsoft Office, Internet Explorer\r\n"
    "Autocad, Microsoft Visio, Microsoft Publisher file and\r\n"
    "other paper, electronic document to reliable PDF file.";

}  // namespace

platform::FormDescription MainFormDescription() {
  platform::FormDescription form;
  form.name = "TMain";
  form.caption = "Plumeta";
  form.client_size = {462, 205};
  form.font = {"Tahoma", -11, false};
  form.icon_resource = "MAINICON";

  ControlDescription image1;
  image1.kind = ControlKind::kPicture;
  image1.name = "Image1";
  image1.bounds = At(0, 0, 462, 205);
  image1.resource = "IMAGE1";
  form.controls.push_back(image1);

  ControlDescription label5;
  label5.kind = ControlKind::kLabel;
  label5.name = "Label5";
  label5.bounds = At(104, 16, 342, 128);
  label5.text = kDescription;
  label5.own_font = true;
  label5.font = {"Arial", -13, true};
  label5.text_color = {255, 255, 255};
  label5.transparent = true;
  form.controls.push_back(label5);

  // The support picture; start-up shows it.
  ControlDescription image2;
  image2.kind = ControlKind::kPicture;
  image2.name = "Image2";
  image2.bounds = At(0, 0, 97, 137);
  image2.resource = "IMAGE2";
  image2.visible = false;
  image2.clickable = true;
  form.controls.push_back(image2);

  ControlDescription button4;
  button4.kind = ControlKind::kButton;
  button4.name = "Button4";
  button4.bounds = At(8, 144, 75, 25);
  button4.text = "Menu";
  form.controls.push_back(button4);
  return form;
}

}  // namespace plumeta

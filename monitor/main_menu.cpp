// PopupMenu1, the tray menu, top to bottom. The items that come with the tray
// presence and the menu commands take their places between these.
#include "monitor/main_form.h"

namespace plumeta {
namespace {

// A submenu whose items are radio items of one group, all served by one
// handler.
void AddRadioGroup(
    MenuItem& submenu,
    const std::vector<std::pair<const char*, const char*>>& items,
    const char* checked, const MenuItem::ClickHandler& handler) {
  for (const auto& [name, caption] : items) {
    MenuItem& item = submenu.Add(name, caption);
    item.set_radio_item(true);
    item.set_checked(std::string(name) == checked);
    item.set_on_click(handler);
  }
}

}  // namespace

void TMain::BuildPopupMenu1() {
  auto handler = [this](void (TMain::*method)(MenuItem&)) {
    return [this, method](MenuItem& sender) { (this->*method)(sender); };
  };

  // "&Open Main Window" (OpenMain1), N5, "&View Last Result"
  // (Viewlastresult1), "&Save Last Result As" (SaveLastResult1) and N4 go
  // here, before the settings.

  MenuItem& quality = popup_menu1_.Add("PDFEncryptDecrpt1", "PDF Quality");
  AddRadioGroup(quality,
                {{"Default1", "Default"},
                 {"Screen1", "Screen"},
                 {"Ebook1", "Ebook"},
                 {"Print1", "Print"},
                 {"Prepress1", "Prepress"}},
                "Default1", handler(&TMain::Default1Click));

  MenuItem& version = popup_menu1_.Add("PDFMergeSplit1", "PDF Version");
  AddRadioGroup(version,
                {{"N121", "1.2  (Adobe Acrobat 3.x)"},
                 {"N131", "1.3  (Adobe Acrobat 4.x)"},
                 {"N141", "1.4  (Adobe Acrobat 5.x)"}},
                "N131", handler(&TMain::N121Click));

  MenuItem& security = popup_menu1_.Add("PDFLayout1", "PDF Security");
  void (TMain::*const security_handlers[])(MenuItem&) = {
      &TMain::Printdocument1Click,
      &TMain::Modifycontentsofdocument1Click,
      &TMain::Addormodifytextannotations1Click,
      &TMain::Copytextandgraphicsfromdocument1Click,
      &TMain::Fillininteraciveformfields1Click,
      &TMain::Extracttextandgraphics1Click,
      &TMain::Assemblethedocument1Click,
      &TMain::Highqualityprint1Click,
  };
  for (std::size_t i = 0; i < kSecurityItems.size(); ++i) {
    MenuItem& item =
        security.Add(kSecurityItems[i].name, kSecurityItems[i].caption);
    item.set_checked(true);
    item.set_auto_check(true);
    item.set_on_click(handler(security_handlers[i]));
  }

  MenuItem& password = popup_menu1_.Add("PDFInfo1", "PDF Password");
  password.Add("UserPassword1", "User Password")
      .set_on_click(handler(&TMain::UserPassword1Click));
  password.Add("OwnerPassword1", "Owner Password")
      .set_on_click(handler(&TMain::OwnerPassword1Click));

  MenuItem& resolution = popup_menu1_.Add("PDFResolution1", "PDF Resolution");
  AddRadioGroup(resolution,
                {{"N721", "72"},
                 {"N1441", "144"},
                 {"N3001", "300"},
                 {"N6001", "600"},
                 {"N12001", "1200"},
                 {"N24001", "2400"},
                 {"N36001", "3600"},
                 {"N40001", "4000"}},
                "N12001", handler(&TMain::N721Click));

  // N6, "&Printing Preferences" (Configuration1), "Show PDF when done"
  // (ShowPDFwhendone1), N3, "Set As Default Printer" (Options1), "&Help"
  // (Help1) and "&Hide" (HideIcon1) go here, before "E&xit".

  popup_menu1_.Add("Exit2", "E&xit").set_on_click(handler(&TMain::Exit2Click));
}

}  // namespace plumeta

// PopupMenu1, the tray menu, built from one table of its top-level items.
#include <utility>

#include "monitor/main_form.h"

namespace plumeta {
namespace {

using widgets::TMenuItem;
using ClickMethod = void (TMain::*)(TMenuItem&);

// Every click runs through TMain::Handle, so an error a handler raises is
// reported the same way whether the item was chosen from the menu on the
// icon, the "Menu" button, or by name.
TMenuItem::ClickEvent Handler(TMain& main, ClickMethod method) {
  return [&main, method](TMenuItem& sender) {
    main.Handle([&] { (main.*method)(sender); });
  };
}

// A submenu whose items are radio items of one group, all served by one
// handler.
void AddRadioGroup(
    TMenuItem& submenu, int group,
    const std::vector<std::pair<const char*, const char*>>& items,
    const char* checked, TMenuItem::ClickEvent handler) {
  for (const auto& [name, caption] : items) {
    TMenuItem& item = submenu.Add(name, caption);
    item.SetRadioItem(true);
    item.SetGroupIndex(group);
    item.SetChecked(std::string(name) == checked);
    item.SetOnClick(handler);
  }
}

void FillQuality(TMain& main, TMenuItem& submenu) {
  AddRadioGroup(submenu, 1,
                {{"Default1", "Default"},
                 {"Screen1", "Screen"},
                 {"Ebook1", "Ebook"},
                 {"Print1", "Print"},
                 {"Prepress1", "Prepress"}},
                "Default1", Handler(main, &TMain::Default1Click));
}

void FillVersion(TMain& main, TMenuItem& submenu) {
  AddRadioGroup(submenu, 2,
                {{"N121", "1.2  (Adobe Acrobat 3.x)"},
                 {"N131", "1.3  (Adobe Acrobat 4.x)"},
                 {"N141", "1.4  (Adobe Acrobat 5.x)"}},
                "N131", Handler(main, &TMain::N121Click));
}

void FillSecurity(TMain& main, TMenuItem& submenu) {
  const ClickMethod handlers[] = {
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
    TMenuItem& item =
        submenu.Add(kSecurityItems[i].name, kSecurityItems[i].caption);
    item.SetChecked(true);
    item.SetAutoCheck(true);
    item.SetOnClick(Handler(main, handlers[i]));
  }
}

void FillPassword(TMain& main, TMenuItem& submenu) {
  submenu.Add("UserPassword1", "User Password")
      .SetOnClick(Handler(main, &TMain::UserPassword1Click));
  submenu.Add("OwnerPassword1", "Owner Password")
      .SetOnClick(Handler(main, &TMain::OwnerPassword1Click));
}

void FillResolution(TMain& main, TMenuItem& submenu) {
  AddRadioGroup(submenu, 3,
                {{"N721", "72"},
                 {"N1441", "144"},
                 {"N3001", "300"},
                 {"N6001", "600"},
                 {"N12001", "1200"},
                 {"N24001", "2400"},
                 {"N36001", "3600"},
                 {"N40001", "4000"}},
                "N12001", Handler(main, &TMain::N721Click));
}

// One top-level item: a separator ("-"), a command with its handler, or a
// submenu with the function that fills it.
struct TopLevelItem {
  const char* name;
  const char* caption;
  ClickMethod click = nullptr;
  void (*fill)(TMain&, TMenuItem&) = nullptr;
};

// Top to bottom.
const TopLevelItem kTopLevelItems[] = {
    {"OpenMain1", "&Open Main Window", &TMain::OpenMain1Click},
    {"N5", "-"},
    {"Viewlastresult1", "&View Last Result", &TMain::Viewlastresult1Click},
    {"SaveLastResult1", "&Save Last Result As", &TMain::SaveLastResult1Click},
    {"N4", "-"},
    {"PDFEncryptDecrpt1", "PDF Quality", nullptr, FillQuality},
    {"PDFMergeSplit1", "PDF Version", nullptr, FillVersion},
    {"PDFLayout1", "PDF Security", nullptr, FillSecurity},
    {"PDFInfo1", "PDF Password", nullptr, FillPassword},
    {"PDFResolution1", "PDF Resolution", nullptr, FillResolution},
    {"N6", "-"},
    {"Configuration1", "&Printing Preferences", &TMain::Configuration1Click},
    {"ShowPDFwhendone1", "Show PDF when done", &TMain::ShowPDFwhendone1Click},
    {"SaveAutomatically1", "Save Automatically...",
     &TMain::SaveAutomatically1Click},
    {"N3", "-"},
    {"Options1", "Set As Default Printer", &TMain::Options1Click},
    {"Help1", "&Help", &TMain::Help1Click},
    {"HideIcon1", "&Hide", &TMain::HideIcon1Click},
    {"Exit2", "E&xit", &TMain::Exit2Click},
};

}  // namespace

void TMain::BuildPopupMenu1() {
  for (const TopLevelItem& row : kTopLevelItems) {
    TMenuItem& item = popup_menu1_.Items().Add(row.name, row.caption);
    if (row.click != nullptr) item.SetOnClick(Handler(*this, row.click));
    if (row.fill != nullptr) row.fill(*this, item);
  }
  // Ticked at every start; never stored.
  popup_menu1_.FindItem("ShowPDFwhendone1")->SetChecked(true);
}

}  // namespace plumeta

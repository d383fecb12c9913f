// PopupMenu1, the tray menu, built from tables: each row holds an item's
// name, caption and handler together.
#include <span>

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

struct MenuRow {
  const char* name;
  const char* caption;
  ClickMethod click;
};

// A submenu: plain items, radio items of one group (the checked one named),
// or check items, all checked at first, that tick themselves when clicked.
struct Submenu {
  std::span<const MenuRow> rows;
  int radio_group = 0;  // 0: not radio items
  const char* checked = nullptr;
  bool check_items = false;
};

constexpr MenuRow kQualityRows[] = {
    {"Default1", "Default", &TMain::Default1Click},
    {"Screen1", "Screen", &TMain::Default1Click},
    {"Ebook1", "Ebook", &TMain::Default1Click},
    {"Print1", "Print", &TMain::Default1Click},
    {"Prepress1", "Prepress", &TMain::Default1Click},
};

constexpr MenuRow kVersionRows[] = {
    {"N121", "1.2  (Adobe Acrobat 3.x)", &TMain::N121Click},
    {"N131", "1.3  (Adobe Acrobat 4.x)", &TMain::N121Click},
    {"N141", "1.4  (Adobe Acrobat 5.x)", &TMain::N121Click},
};

// In the order of the Permission setting's positions (kSecurityItems).
constexpr MenuRow kSecurityRows[] = {
    {kSecurityItems[0].name, kSecurityItems[0].caption,
     &TMain::Printdocument1Click},
    {kSecurityItems[1].name, kSecurityItems[1].caption,
     &TMain::Modifycontentsofdocument1Click},
    {kSecurityItems[2].name, kSecurityItems[2].caption,
     &TMain::Addormodifytextannotations1Click},
    {kSecurityItems[3].name, kSecurityItems[3].caption,
     &TMain::Copytextandgraphicsfromdocument1Click},
    {kSecurityItems[4].name, kSecurityItems[4].caption,
     &TMain::Fillininteraciveformfields1Click},
    {kSecurityItems[5].name, kSecurityItems[5].caption,
     &TMain::Extracttextandgraphics1Click},
    {kSecurityItems[6].name, kSecurityItems[6].caption,
     &TMain::Assemblethedocument1Click},
    {kSecurityItems[7].name, kSecurityItems[7].caption,
     &TMain::Highqualityprint1Click},
};
static_assert(std::size(kSecurityRows) == kSecurityItems.size());

constexpr MenuRow kPasswordRows[] = {
    {"UserPassword1", "User Password", &TMain::UserPassword1Click},
    {"OwnerPassword1", "Owner Password", &TMain::OwnerPassword1Click},
};

constexpr MenuRow kResolutionRows[] = {
    {"N721", "72", &TMain::N721Click},
    {"N1441", "144", &TMain::N721Click},
    {"N3001", "300", &TMain::N721Click},
    {"N6001", "600", &TMain::N721Click},
    {"N12001", "1200", &TMain::N721Click},
    {"N24001", "2400", &TMain::N721Click},
    {"N36001", "3600", &TMain::N721Click},
    {"N40001", "4000", &TMain::N721Click},
};

const Submenu kQuality{
    .rows = kQualityRows, .radio_group = 1, .checked = "Default1"};
const Submenu kVersion{
    .rows = kVersionRows, .radio_group = 2, .checked = "N131"};
const Submenu kSecurity{.rows = kSecurityRows, .check_items = true};
const Submenu kPassword{.rows = kPasswordRows};
const Submenu kResolution{
    .rows = kResolutionRows, .radio_group = 3, .checked = "N12001"};

// One top-level item: a separator ("-"), a command with its handler, or a
// submenu.
struct TopLevelItem {
  const char* name;
  const char* caption;
  ClickMethod click = nullptr;
  const Submenu* submenu = nullptr;
};

// Top to bottom.
const TopLevelItem kTopLevelItems[] = {
    {"OpenMain1", "&Open Main Window", &TMain::OpenMain1Click},
    {"N5", "-"},
    {"Viewlastresult1", "&View Last Result", &TMain::Viewlastresult1Click},
    {"SaveLastResult1", "&Save Last Result As", &TMain::SaveLastResult1Click},
    {"N4", "-"},
    {"PDFEncryptDecrpt1", "PDF Quality", nullptr, &kQuality},
    {"PDFMergeSplit1", "PDF Version", nullptr, &kVersion},
    {"PDFLayout1", "PDF Security", nullptr, &kSecurity},
    {"PDFInfo1", "PDF Password", nullptr, &kPassword},
    {"PDFResolution1", "PDF Resolution", nullptr, &kResolution},
    {"N6", "-"},
    {"Configuration1", "&Printing Preferences", &TMain::Configuration1Click},
    {"ShowPDFwhendone1", "Show PDF when done", &TMain::ShowPDFwhendone1Click},
    {"SaveAutomatically1", "Save Automatically...",
     &TMain::SaveAutomatically1Click},
    {"CombineJobs1", "Combine Jobs", &TMain::CombineJobs1Click},
    {"SaveCombinedPDF1", "Save Combined PDF...", &TMain::SaveCombinedPDF1Click},
    {"N3", "-"},
    {"Options1", "Set As Default Printer", &TMain::Options1Click},
    {"Help1", "&Help", &TMain::Help1Click},
    {"HideIcon1", "&Hide", &TMain::HideIcon1Click},
    {"Exit2", "E&xit", &TMain::Exit2Click},
};

void Fill(TMain& main, TMenuItem& submenu, const Submenu& rows) {
  for (const MenuRow& row : rows.rows) {
    TMenuItem& item = submenu.Add(row.name, row.caption);
    if (rows.radio_group != 0) {
      item.SetRadioItem(true);
      item.SetGroupIndex(rows.radio_group);
      item.SetChecked(std::string(row.name) == rows.checked);
    } else if (rows.check_items) {
      item.SetChecked(true);
      item.SetAutoCheck(true);
    }
    item.SetOnClick(Handler(main, row.click));
  }
}

}  // namespace

void TMain::BuildPopupMenu1() {
  for (const TopLevelItem& row : kTopLevelItems) {
    TMenuItem& item = popup_menu1_.Items().Add(row.name, row.caption);
    if (row.click != nullptr) item.SetOnClick(Handler(*this, row.click));
    if (row.submenu != nullptr) Fill(*this, item, *row.submenu);
  }
  // Ticked at every start; never stored.
  popup_menu1_.FindItem("ShowPDFwhendone1")->SetChecked(true);
}

}  // namespace plumeta

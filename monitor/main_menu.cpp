// PopupMenu1 built from the table of main_menu.h, and the table itself.
#include "monitor/main_menu.h"

#include "monitor/main_form.h"

namespace plumeta {
namespace {

using widgets::TMenuItem;

constexpr MenuRow kQualityRows[] = {
    {"Default1", "Default", "Default"},    {"Screen1", "Screen", "Screen"},
    {"Ebook1", "Ebook", "Ebook"},          {"Print1", "Print", "Print"},
    {"Prepress1", "Prepress", "Prepress"},
};

constexpr MenuRow kVersionRows[] = {
    {"N121", "1.2  (Adobe Acrobat 3.x)", "1.2"},
    {"N131", "1.3  (Adobe Acrobat 4.x)", "1.3"},
    {"N141", "1.4  (Adobe Acrobat 5.x)", "1.4"},
};

// In the order of the Permission setting's positions (kSecurityItems).
constexpr MenuRow SecurityRow(int position) {
  return {.name = kSecurityItems[position].name,
          .caption = kSecurityItems[position].caption,
          .click = &TMain::SecurityItemClick,
          .check_item = true,
          .checked = true};
}
constexpr MenuRow kSecurityRows[] = {
    SecurityRow(0), SecurityRow(1), SecurityRow(2), SecurityRow(3),
    SecurityRow(4), SecurityRow(5), SecurityRow(6), SecurityRow(7),
};
static_assert(std::size(kSecurityRows) == kSecurityItems.size());

constexpr MenuRow kPasswordRows[] = {
    {.name = "UserPassword1",
     .caption = "User Password",
     .click = &TMain::UserPassword1Click},
    {.name = "OwnerPassword1",
     .caption = "Owner Password",
     .click = &TMain::OwnerPassword1Click},
};

constexpr MenuRow kResolutionRows[] = {
    {"N721", "72", "72"},       {"N1441", "144", "144"},
    {"N3001", "300", "300"},    {"N6001", "600", "600"},
    {"N12001", "1200", "1200"}, {"N24001", "2400", "2400"},
    {"N36001", "3600", "3600"}, {"N40001", "4000", "4000"},
};

constexpr MenuSubmenu kQuality{.rows = kQualityRows,
                               .setting = &ConversionSettings::quality,
                               .radio_group = 1,
                               .checked = "Default1"};
constexpr MenuSubmenu kVersion{.rows = kVersionRows,
                               .setting = &ConversionSettings::version,
                               .radio_group = 2,
                               .checked = "N131"};
constexpr MenuSubmenu kSecurity{.rows = kSecurityRows};
constexpr MenuSubmenu kPassword{.rows = kPasswordRows};
constexpr MenuSubmenu kResolution{.rows = kResolutionRows,
                                  .setting = &ConversionSettings::resolution,
                                  .radio_group = 3,
                                  .checked = "N12001"};

constexpr MenuRow kTopLevelRows[] = {
    {.name = "OpenMain1",
     .caption = "&Open Main Window",
     .click = &TMain::RevealMainWindow},
    {.name = "N5", .caption = "-"},
    {.name = "Viewlastresult1",
     .caption = "&View Last Result",
     .command = &TrayCommands::ViewLastResult},
    {.name = "SaveLastResult1",
     .caption = "&Save Last Result As",
     .command = &TrayCommands::SaveLastResultAs},
    {.name = "N4", .caption = "-"},
    {.name = "PDFEncryptDecrpt1",
     .caption = "PDF Quality",
     .submenu = &kQuality},
    {.name = "PDFMergeSplit1", .caption = "PDF Version", .submenu = &kVersion},
    {.name = "PDFLayout1", .caption = "PDF Security", .submenu = &kSecurity},
    {.name = "PDFInfo1", .caption = "PDF Password", .submenu = &kPassword},
    {.name = "PDFResolution1",
     .caption = "PDF Resolution",
     .submenu = &kResolution},
    {.name = "N6", .caption = "-"},
    {.name = "Configuration1",
     .caption = "&Printing Preferences",
     .command = &TrayCommands::OpenPrintingPreferences},
    // Only a tick, which the conversion flow reads.
    {.name = "ShowPDFwhendone1",
     .caption = "Show PDF when done",
     .check_item = true,
     .checked = true},
    {.name = "SaveAutomatically1",
     .caption = "Save Automatically...",
     .click = &TMain::SaveAutomatically1Click},
    // Ticked by its handler, which may refuse the change.
    {.name = "CombineJobs1",
     .caption = "Combine Jobs",
     .click = &TMain::CombineJobs1Click},
    {.name = "SaveCombinedPDF1",
     .caption = "Save Combined PDF...",
     .click = &TMain::SaveCombinedPdf},
    {.name = "N3", .caption = "-"},
    {.name = "Options1",
     .caption = "Set As Default Printer",
     .command = &TrayCommands::SetAsDefaultPrinter},
    {.name = "Help1", .caption = "&Help", .command = &TrayCommands::OpenHelp},
    {.name = "HideIcon1", .caption = "&Hide", .click = &TMain::HideIcon1Click},
    {.name = "Exit2", .caption = "E&xit", .click = &TMain::Exit2Click},
};

}  // namespace

std::span<const MenuRow> MainMenuRows() { return kTopLevelRows; }

bool MenuOffers(std::string ConversionSettings::*setting,
                const std::string& value) {
  for (const MenuRow& top : kTopLevelRows) {
    if (top.submenu == nullptr || top.submenu->setting != setting) continue;
    for (const MenuRow& row : top.submenu->rows) {
      if (row.value == value) return true;
    }
  }
  return false;
}

// Every click runs through Handle, so an error a handler raises is reported
// the same way whether the item was chosen from the menu on the icon, the
// "Menu" button, or by name.
void TMain::BuildPopupMenu1() {
  auto add = [this](TMenuItem& parent, const MenuRow& row) -> TMenuItem& {
    TMenuItem& item = parent.Add(row.name, row.caption);
    item.SetAutoCheck(row.check_item);
    item.SetChecked(row.checked);
    if (row.click != nullptr) {
      item.SetOnClick(
          [this, &row](TMenuItem&) { Handle([&] { (this->*row.click)(); }); });
    } else if (row.command != nullptr) {
      item.SetOnClick([this, &row](TMenuItem&) {
        Handle([&] { ((*tray_commands_).*row.command)(); });
      });
    }
    return item;
  };
  for (const MenuRow& row : MainMenuRows()) {
    TMenuItem& item = add(popup_menu1_.Items(), row);
    if (row.submenu == nullptr) continue;
    const MenuSubmenu& submenu = *row.submenu;
    for (const MenuRow& sub_row : submenu.rows) {
      TMenuItem& sub_item = add(item, sub_row);
      if (submenu.setting == nullptr) continue;
      sub_item.SetRadioItem(true);
      sub_item.SetGroupIndex(submenu.radio_group);
      sub_item.SetChecked(std::string(sub_row.name) == submenu.checked);
      sub_item.SetOnClick([this, &submenu, &sub_row](TMenuItem& sender) {
        Handle([&] { ChooseSetting(submenu, sub_row, sender); });
      });
    }
  }
}

}  // namespace plumeta

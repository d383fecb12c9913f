// "Combine Jobs" and "Save Combined PDF..." in the menu: the tick that sends
// each job's PDF to the collection (and the argument file that goes with
// it), the merge with the settings in force, and the balloon at start-up
// about a collection a former run left.
#include "common/os_edition.h"
#include "monitor/main_form.h"
#include "monitor/response_file.h"

namespace plumeta {

bool TMain::CombineJobs() {
  widgets::TMenuItem* item = popup_menu1_.FindItem("CombineJobs1");
  return item != nullptr && item->Checked();
}

// The argument file follows the tick; when it cannot be written the tick
// goes back, so that the file and the tick always agree.
void TMain::CombineJobs1Click() {
  widgets::TMenuItem& item = *popup_menu1_.FindItem("CombineJobs1");
  const bool combine = !item.Checked();
  item.SetChecked(combine);
  try {
    WriteResponseFile();
  } catch (...) {
    item.SetChecked(!combine);
    throw;
  }
  const std::size_t collected = combined_pdf_->collection().documents().size();
  if (combine || collected == 0) return;
  const platform::MessageResult answer = platform_.user_interface->MessageBox(
      "Do you want to save the " + std::to_string(collected) +
          (collected == 1 ? " collected document" : " collected documents") +
          " as one PDF now? If you answer No, they are kept until you choose "
          "Save Combined PDF...",
      kMonitorTitle, platform::MessageButtons::kYesNo,
      platform::MessageIcon::kQuestion, /*owned_by_main_window=*/true);
  if (answer == platform::MessageResult::kYes) SaveCombinedPdf();
}

void TMain::SaveCombinedPdf() {
  PermissionStringFromMenu();
  combined_pdf_->Save(settings_, NeedsGeneratedOwnerPassword(settings_)
                                     ? FreshOwnerPassword()
                                     : "");
}

platform::ErrorCode TMain::AddToCombinedPdf(const std::string& pdf,
                                            const std::string& document,
                                            const std::string& user,
                                            std::string* into) {
  *into = combined_pdf_->collection().folder();
  return combined_pdf_->Add(pdf, document, user);
}

void TMain::UpdateCombinedPdfItem() {
  if (widgets::TMenuItem* item = popup_menu1_.FindItem("SaveCombinedPDF1")) {
    item->SetEnabled(!combined_pdf_->collection().empty());
  }
}

void TMain::CollectedBalloon() {
  const std::size_t collected = combined_pdf_->collection().documents().size();
  if (collected == 0 || IsOldNtName(os_name_)) return;
  ShowNotice({std::to_string(collected) +
                  (collected == 1 ? " document waits" : " documents wait") +
                  " to be combined into one PDF",
              "Right-click the happy icon and choose Save Combined PDF..."});
}

}  // namespace plumeta

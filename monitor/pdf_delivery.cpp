#include "monitor/pdf_delivery.h"

#include <algorithm>
#include <cctype>

#include "common/application_error.h"
#include "monitor/main_form.h"

namespace plumeta {
namespace {

std::string Reason(platform::System& system, platform::ErrorCode code) {
  std::string text = system.ErrorMessage(code);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.pop_back();
  if (text.empty()) text = "System error " + std::to_string(code) + ".";
  return text;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string PartialCopyPath(const std::string& target) {
  return target + ".plumeta-partial";
}

bool DeliverPdf(platform::Files& files, platform::System& system,
                const std::string& from, const std::string& target,
                std::string* failure) {
  if (SamePath(from, target)) return true;
  const std::string partial = PartialCopyPath(target);
  if (files.Exists(partial)) files.Delete(partial);
  platform::ErrorCode code = files.Copy(from, partial, /*fail_if_exists=*/true);
  if (code == platform::kSuccess) code = files.Replace(partial, target);
  if (code == platform::kSuccess) return true;
  if (files.Exists(partial)) files.Delete(partial);
  *failure = "The PDF could not be copied from '" + from + "' to '" + target +
             "'.\r\n" + Reason(system, code);
  return false;
}

void ShowDeliveryFailure(platform::UserInterface& ui,
                         const std::string& failure) {
  ShowErrorBox(ui, kMonitorTitle, failure);
}

}  // namespace plumeta

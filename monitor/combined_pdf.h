// "Combine Jobs" and "Save Combined PDF...": the collection of job PDFs and
// the merge that makes one PDF of them.
//
// The merge runs Ghostscript in-process through gsbridge.dll (beside the
// monitor's program file), with Ghostscript's own DLL: the one beside the
// console program the port runs (the port's Command value; on 64-bit
// Windows the 32-bit monitor's system32 is SysWOW64, where the port's
// 32-bit console and its DLL lie). It runs on a worker thread, so the
// message loop goes on (the icon animates, the menu answers); each Timer1
// tick looks whether it has ended, and the message loop's thread alone
// delivers the result: by the save dialog proposing the first document's
// name, or into the auto-save folder under the template (<Title> the first
// document's), as a job's PDF is delivered. The collection stays until the
// combined PDF has been delivered.
#ifndef MONITOR_COMBINED_PDF_H_
#define MONITOR_COMBINED_PDF_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/conversion_flow.h"
#include "monitor/conversion_settings.h"
#include "monitor/job_collection.h"
#include "monitor/monitor_view.h"
#include "monitor/save_dialog.h"
#include "platform/platform.h"

namespace plumeta {

// Ghostscript's arguments (argv, argv[0] included) that merge `inputs` into
// `output` with the settings.
std::vector<std::string> MergeArguments(
    const ConversionSettings& settings, const std::vector<std::string>& inputs,
    const std::string& output, const std::string& generated_owner_password);

// The argument file's arguments while "Combine Jobs" is ticked: the job
// PDFs are intermediates, written without passwords or withheld
// permissions (the merge applies them; the merge must read them) and
// without object streams (so their pages can be counted).
std::vector<std::string> IntermediateArguments(
    const ConversionSettings& settings, const std::string& temp_folder);

// Where the merge finds the bridge and Ghostscript's library.
struct MergeLibraries {
  std::string bridge;
  std::string ghostscript;
};
MergeLibraries FindMergeLibraries(platform::System& system,
                                  platform::Registry& registry);

// The balloon's line for a document added: "'<document>' was added to the
// combined PDF (3 documents, 17 pages)", without pages when they are not
// known.
std::string AddedText(const std::string& document, std::size_t documents,
                      int pages);

class CombinedPdf {
 public:
  // `changed` runs whenever the collection or the merge's state changes.
  // The merged PDF is delivered through `flow`'s finishing step.
  CombinedPdf(platform::Platform& platform, FlowSettings& settings,
              FlowWindow& window, ConversionFlow& flow,
              TSaveDialog& save_dialog, std::function<void()> changed);
  // Waits for a merge still running; the collection stays.
  ~CombinedPdf();
  CombinedPdf(const CombinedPdf&) = delete;
  CombinedPdf& operator=(const CombinedPdf&) = delete;

  // Reads the collection a former run left in `temp_folder`.
  void Load(const std::string& temp_folder);
  // Adds the job's PDF at `pdf` (moved) and says so in a balloon; on
  // failure the PDF stays at `pdf` and the code says why.
  platform::ErrorCode Add(const std::string& pdf, const std::string& document,
                          const std::string& user);
  // Asks where the combined PDF goes and starts the merge; refused with a
  // message while one runs.
  void Save(const ConversionSettings& settings,
            const std::string& generated_owner_password);
  // Each Timer1 tick: a merge that has ended is delivered, or its failure
  // shown.
  void Tick();

  const JobCollection& collection() const { return *collection_; }
  bool merging() const { return merge_ != nullptr; }

 private:
  struct Merge;
  void Finish();
  void Failed(const std::string& reason);
  void StopAnimation();

  platform::Platform& platform_;
  FlowSettings& settings_;
  FlowWindow& window_;
  ConversionFlow& flow_;
  TSaveDialog& save_dialog_;
  std::function<void()> changed_;
  std::unique_ptr<JobCollection> collection_;
  std::unique_ptr<Merge> merge_;
  bool asking_ = false;  // the save dialog of a Save is open
};

}  // namespace plumeta

#endif  // MONITOR_COMBINED_PDF_H_

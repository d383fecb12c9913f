#include "monitor/combined_pdf.h"

#include "common/application_error.h"
#include "common/ghostscript_arguments.h"
#include "common/os_edition.h"
#include "common/system_names.h"
#include "common/windows_paths.h"
#include "gsbridge/gsbridge.h"
#include "monitor/file_names.h"
#include "monitor/pdf_delivery.h"
#include "monitor/response_file.h"

namespace plumeta {
namespace {

// The monitor's own width decides which Ghostscript it can load.
constexpr const char* kGhostscriptDll =
    sizeof(void*) == 8 ? "gsdll64.dll" : "gsdll32.dll";
constexpr char kBridgeDll[] = "gsbridge.dll";
constexpr char kMergedFileName[] = "combined.pdf";
// Of Ghostscript's messages, what the failure box shows.
constexpr std::size_t kShownMessageLines = 12;

std::string Plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The first lines of Ghostscript's messages, without trailing white space.
std::string FirstLines(const std::string& text) {
  std::string shown;
  std::size_t lines = 0;
  std::size_t start = 0;
  while (start < text.size() && lines < kShownMessageLines) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
      line.pop_back();
    if (line.empty()) continue;
    shown += (lines++ == 0 ? "" : "\r\n") + line;
  }
  return shown;
}

// Where the bridge's output callback writes; one merge runs at a time.
std::string* merge_messages = nullptr;

void GSBRIDGE_CALL CollectOutput(const char* text, int length) {
  if (merge_messages == nullptr) return;
  if (length == 0) {
    *merge_messages += text;
    *merge_messages += '\n';
  } else {
    merge_messages->append(text, static_cast<std::size_t>(length));
  }
}

}  // namespace

std::vector<std::string> MergeArguments(
    const ConversionSettings& settings, const std::vector<std::string>& inputs,
    const std::string& output, const std::string& generated_owner_password) {
  // argv reaches Ghostscript unsplit: values go as they stand, only what the
  // argument file could not carry either left out.
  const OptionWriter joined = [](const std::string& option,
                                 const std::string& value) {
    return option + WithoutControlCharacters(value);
  };
  std::vector<std::string> arguments = {
      "gs",
      "-sDEVICE=pdfwrite",
      "-sOutputFile=" + GhostscriptLiteralFileName(output),
      "-q",
      "-dNOPAUSE",
      "-dSAFER",
      "-dBATCH",
  };
  for (std::string& option :
       SettingsOptions(settings, generated_owner_password, joined)) {
    arguments.push_back(std::move(option));
  }
  // "-f" before each: a file name that starts with '-' is still a file.
  for (const std::string& input : inputs) {
    arguments.push_back("-f");
    arguments.push_back(input);
  }
  return arguments;
}

std::vector<std::string> IntermediateArguments(
    const ConversionSettings& settings, const std::string& temp_folder) {
  ConversionSettings plain = settings;
  plain.user_password.clear();
  plain.owner_password.clear();
  plain.permission = kAllPermissions;
  std::vector<std::string> arguments =
      ResponseFileArguments(plain, temp_folder, "");
  // Before the PostScript that runs the job ("-c", the fragment, "-f").
  arguments.insert(arguments.end() - 3, "-dWriteObjStms=false");
  return arguments;
}

MergeLibraries FindMergeLibraries(platform::System& system,
                                  platform::Registry& registry) {
  MergeLibraries libraries;
  libraries.bridge = FolderOf(system.ProgramPath()) + kBridgeDll;
  std::string console;
  std::unique_ptr<platform::RegistryKey> key;
  platform::RegistryValue value;
  if (registry.OpenKeyToRead(platform::RootKey::kLocalMachine,
                             std::string(kMonitorPortsKey) + "\\" + kPortName,
                             &key) == platform::kSuccess &&
      key->ReadValue("Command", &value) == platform::kSuccess) {
    console = value.Text();
  }
  const std::string folder = FolderOf(console);
  // Without a port, the system's search order finds it, if anything does.
  libraries.ghostscript =
      folder.empty() ? std::string(kGhostscriptDll) : folder + kGhostscriptDll;
  return libraries;
}

std::string AddedText(const std::string& document, std::size_t documents,
                      int pages) {
  std::string counts = Plural(documents, "document", "documents");
  if (pages > 0) {
    counts += ", " + Plural(static_cast<std::size_t>(pages), "page", "pages");
  }
  return "'" + document + "' was added to the combined PDF (" + counts + ")";
}

struct CombinedPdf::Merge {
  std::vector<std::string> arguments;
  std::string ghostscript;
  std::string output;
  std::string target;  // the dialog's answer; empty: into `folder`
  std::string folder;
  platform::Libraries::Handle bridge = 0;
  GsBridgeCallGSFunction call_gs = nullptr;
  GsBridgeInstallCallBacksFunction install_callbacks = nullptr;
  // Written by the worker; read once it is done.
  bool succeeded = false;
  std::string messages;
  // Last, so that it is destroyed first: that waits for the worker.
  std::unique_ptr<platform::WorkerThread> worker;

  void Run() {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    merge_messages = &messages;
    install_callbacks(nullptr, &CollectOutput, nullptr);
    succeeded = call_gs(ghostscript.c_str(), static_cast<int>(argv.size()),
                        argv.data()) == 1;
    install_callbacks(nullptr, nullptr, nullptr);
    merge_messages = nullptr;
  }
};

CombinedPdf::CombinedPdf(platform::Platform& platform, FlowSettings& settings,
                         FlowWindow& window, ConversionFlow& flow,
                         TSaveDialog& save_dialog,
                         std::function<void()> changed)
    : platform_(platform),
      settings_(settings),
      window_(window),
      flow_(flow),
      save_dialog_(save_dialog),
      changed_(std::move(changed)),
      collection_(std::make_unique<JobCollection>(*platform.files, "")) {}

CombinedPdf::~CombinedPdf() {
  if (!merge_) return;
  merge_->worker.reset();
  platform_.libraries->Free(merge_->bridge);
}

void CombinedPdf::Load(const std::string& temp_folder) {
  collection_ = std::make_unique<JobCollection>(
      *platform_.files, JobCollection::FolderIn(temp_folder));
  collection_->Load();
  changed_();
}

platform::ErrorCode CombinedPdf::Add(const std::string& pdf,
                                     const std::string& document,
                                     const std::string& user) {
  const platform::ErrorCode code = collection_->Add(pdf, document, user);
  if (code != platform::kSuccess) return code;
  changed_();
  // NT 4.0 and earlier have no balloons.
  if (!IsOldNtName(settings_.OsName())) {
    window_.ShowNotice({AddedText(document, collection_->documents().size(),
                                  collection_->pages())});
  }
  return platform::kSuccess;
}

void CombinedPdf::Save(const ConversionSettings& settings,
                       const std::string& generated_owner_password) {
  platform::UserInterface& ui = *platform_.user_interface;
  if (merge_ || asking_) {
    ui.MessageBox(
        "The combined PDF is still being made. Wait until it is done, then "
        "choose Save Combined PDF... again if you need to.",
        kMonitorTitle, platform::MessageButtons::kOk,
        platform::MessageIcon::kWarning, /*owned_by_main_window=*/true);
    return;
  }
  if (collection_->empty()) return;
  auto merge = std::make_unique<Merge>();
  merge->folder = settings_.AutoSaveFolder();
  if (merge->folder.empty()) {
    window_.RevealMainWindow();
    save_dialog_.set_file_name(ProposedFileName(
        collection_->documents().front().document, *platform_.locale));
    asking_ = true;
    const bool chosen = save_dialog_.Execute();
    asking_ = false;
    window_.ConcealMainWindow();
    if (!chosen) return;
    merge->target = save_dialog_.file_name();
  }
  const MergeLibraries libraries =
      FindMergeLibraries(*platform_.system, *platform_.registry);
  merge->ghostscript = libraries.ghostscript;
  merge->output = collection_->folder() + "\\" + kMergedFileName;
  merge->arguments = MergeArguments(settings, collection_->Paths(),
                                    merge->output, generated_owner_password);
  platform::Libraries& loader = *platform_.libraries;
  merge->bridge = loader.Load(libraries.bridge);
  merge->call_gs = reinterpret_cast<GsBridgeCallGSFunction>(
      loader.Find(merge->bridge, "CallGS"));
  merge->install_callbacks = reinterpret_cast<GsBridgeInstallCallBacksFunction>(
      loader.Find(merge->bridge, "InstallCallBacks"));
  if (merge->call_gs == nullptr || merge->install_callbacks == nullptr) {
    loader.Free(merge->bridge);
    Failed("'" + libraries.bridge + "' could not be loaded.");
    return;
  }
  platform_.files->Delete(merge->output);
  Merge& running = *merge;
  merge->worker = platform_.threads->Start([&running] { running.Run(); });
  if (!merge->worker) {
    loader.Free(merge->bridge);
    Failed("No thread could be started for it.");
    return;
  }
  merge_ = std::move(merge);
  window_.SetCycleIcons(true);
  changed_();
  Tick();
}

void CombinedPdf::Tick() {
  if (merge_ && merge_->worker->Done()) Finish();
}

void CombinedPdf::Finish() {
  std::unique_ptr<Merge> merge = std::move(merge_);
  merge->worker.reset();
  platform_.libraries->Free(merge->bridge);
  StopAnimation();
  changed_();
  if (!merge->succeeded ||
      !IsCompletePdfFile(*platform_.files, merge->output)) {
    std::string reason = FirstLines(merge->messages);
    if (reason.empty()) reason = "Ghostscript gave no reason.";
    platform_.files->Delete(merge->output);
    Failed(reason);
    return;
  }
  // As for a job, through the same finishing step; the collection stays
  // until its PDF has gone where it was to go.
  Destination destination{.target = merge->target, .folder = merge->folder};
  if (!merge->folder.empty()) {
    const CollectedDocument& first = collection_->documents().front();
    destination.notice = !IsOldNtName(settings_.OsName());
    destination.stem = flow_.AutoSaveStem(FlowJob{.job_id = 0,
                                                  .document = first.document,
                                                  .first_seen = 0,
                                                  .user = first.user},
                                          merge->folder);
  }
  const std::optional<std::string> delivered =
      flow_.Finish(merge->output, destination, nullptr);
  if (!delivered) return;
  platform::Files& files = *platform_.files;
  if (!SameFile(files, merge->output, *delivered)) files.Delete(merge->output);
  collection_->Clear();
  changed_();
}

void CombinedPdf::Failed(const std::string& reason) {
  ShowErrorBox(*platform_.user_interface, kMonitorTitle,
               "The combined PDF was not created; the documents stay "
               "collected.\r\n" +
                   reason);
}

void CombinedPdf::StopAnimation() {
  window_.SetCycleIcons(false);
  window_.SetIconIndex(0);
}

}  // namespace plumeta

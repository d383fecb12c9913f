// plumprint: prints PostScript files to a printer of the box, as an
// application printing on Windows would. Each file becomes a job in the
// printer's queue (Spooling while its data is written) and is handed to the
// printer's port, which this program drives itself: it takes the job
// (Printing), runs the port's command with the job's data and removes the
// job when the command has ended. So plumprint returns when its jobs are
// done, and its exit status tells whether they were printed.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/box/box.h"
#include "platform/host/box/box_process.h"
#include "platform/host/print/redirected_port.h"
#include "platform/host/print/spool_jobs.h"
#include "platform/host/print/spooler.h"
#include "platform/host/registry/store_registry.h"

namespace plumeta::plumprint {
namespace {

namespace fs = std::filesystem;

constexpr int kJobFailed = 1;
constexpr int kBadArguments = 2;
constexpr char kDefaultPrinter[] = "Plumeta";

volatile sig_atomic_t stop_requested = 0;
void RequestStop(int) { stop_requested = 1; }

struct Options {
  std::string printer = kDefaultPrinter;
  std::optional<std::string> document;
  std::optional<std::string> user;
  std::vector<std::string> files;
};

void PrintUsage(std::ostream& out) {
  out << "plumprint [--printer NAME] [--document NAME] [--user NAME] FILE...\n"
         "    Prints each PostScript FILE (- is standard input) as one job to "
         "the printer\n"
         "    NAME of the box (default \""
      << kDefaultPrinter
      << "\"), with the document name NAME (default: the\n"
         "    file's name) and the owner NAME (default: the box's user). "
         "The job goes\n"
         "    through the printer's port, which runs the port's command; "
         "plumprint\n"
         "    returns when every job has left the queue.\n\n"
         "The box is the folder $"
      << host::kBoxVariable << ", else " << host::DefaultBoxFolder()
      << ".\nExit status: 0 every job printed; 1 a job failed; 2 bad "
         "arguments, no box,\nno such printer or an unreadable file.\n";
}

int BadArguments(const std::string& why) {
  std::cerr << "plumprint: " << why << "\nTry 'plumprint --help'.\n";
  return kBadArguments;
}

// nullopt when the arguments are bad (the reason is on stderr).
std::optional<Options> ParseOptions(int argc, char** argv, int* status) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    auto value_of = [&](const std::string& name, std::string* value) -> bool {
      if (argument == name) {
        if (i + 1 >= argc) return false;
        *value = argv[++i];
        return true;
      }
      *value = argument.substr(name.size() + 1);
      return true;
    };
    auto is_option = [&](const std::string& name) {
      return argument == name || argument.rfind(name + "=", 0) == 0;
    };
    std::string value;
    if (argument == "--help" || argument == "-h") {
      PrintUsage(std::cout);
      *status = 0;
      return std::nullopt;
    } else if (is_option("--printer") || is_option("--document") ||
               is_option("--user")) {
      const std::string name = argument.substr(0, argument.find('='));
      if (!value_of(name, &value)) {
        *status = BadArguments(name + " needs a value");
        return std::nullopt;
      }
      if (name == "--printer") options.printer = value;
      if (name == "--document") options.document = value;
      if (name == "--user") options.user = value;
    } else if (argument == "--") {
      options.files.insert(options.files.end(), argv + i + 1, argv + argc);
      break;
    } else if (argument.size() > 1 && argument[0] == '-') {
      *status = BadArguments("unknown option " + argument);
      return std::nullopt;
    } else {
      options.files.push_back(argument);
    }
  }
  if (options.files.empty()) {
    *status = BadArguments("name a PostScript file to print");
    return std::nullopt;
  }
  return options;
}

std::optional<std::string> ReadInput(const std::string& file) {
  if (file == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), {});
  }
  std::error_code error;
  if (fs::is_directory(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

// The pages a DSC-structured PostScript file announces ("%%Page:" lines).
std::uint32_t CountPages(const std::string& data) {
  std::uint32_t pages = 0;
  for (std::size_t at = data.find("%%Page:"); at != std::string::npos;
       at = data.find("%%Page:", at + 1)) {
    if (at == 0 || data[at - 1] == '\n' || data[at - 1] == '\r') ++pages;
  }
  return pages;
}

platform::SystemTime NowUtc() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  platform::SystemTime time;
  time.year = static_cast<std::uint16_t>(utc.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(utc.tm_mon + 1);
  time.day_of_week = static_cast<std::uint16_t>(utc.tm_wday);
  time.day = static_cast<std::uint16_t>(utc.tm_mday);
  time.hour = static_cast<std::uint16_t>(utc.tm_hour);
  time.minute = static_cast<std::uint16_t>(utc.tm_min);
  time.second = static_cast<std::uint16_t>(utc.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(
          now.time_since_epoch())
          .count() %
      1000);
  return time;
}

int Main(int argc, char** argv) {
  int status = 0;
  std::optional<Options> options = ParseOptions(argc, argv, &status);
  if (!options) return status;

  const std::string box = host::BoxFolder();
  std::string error;
  std::shared_ptr<host::BoxProcess> process =
      host::BoxProcess::Open(box, &error);
  if (!process) {
    std::cerr << "plumprint: " << error << "\n";
    return kBadArguments;
  }
  const host::SystemFacts& facts = process->facts();
  const std::string spool_folder =
      process->paths()
          .ToLinux(facts.windows_folder + "\\system32\\spool\\PRINTERS")
          .value_or(box + "/spool");

  host::HostSpooler spooler(
      std::make_unique<host::FileRegistry>(host::RegistryFolder(box)),
      spool_folder, host::CallerEnvironment(facts.version));
  std::unique_ptr<platform::Printer> printer;
  platform::PrinterInfo2 info;
  if (spooler.Open(options->printer, platform::kPrinterAccessUse, &printer) !=
          platform::kSuccess ||
      printer->GetInfo(&info) != platform::kSuccess) {
    std::cerr << "plumprint: the box has no printer \"" << options->printer
              << "\"\n";
    return kBadArguments;
  }

  // Every file is read before the first job is queued, so that a missing
  // one prints nothing.
  std::vector<std::string> data;
  for (const std::string& file : options->files) {
    std::optional<std::string> content = ReadInput(file);
    if (!content) {
      std::cerr << "plumprint: cannot read " << file << "\n";
      return kBadArguments;
    }
    data.push_back(std::move(*content));
  }

  struct sigaction stop {};
  stop.sa_handler = RequestStop;  // no SA_RESTART: waits end at once
  ::sigaction(SIGINT, &stop, nullptr);
  ::sigaction(SIGTERM, &stop, nullptr);
  ::sigaction(SIGHUP, &stop, nullptr);

  host::FileRegistry registry(host::RegistryFolder(box));
  host::RedirectedPort port(box, spool_folder);
  port.set_interrupted([] { return stop_requested != 0; });
  int result = 0;
  for (std::size_t i = 0; i < data.size() && !stop_requested; ++i) {
    const std::string& file = options->files[i];
    platform::PrintJob job;
    job.printer_name = info.printer_name;
    job.machine_name = "\\\\" + facts.computer_name;
    job.user_name = options->user.value_or(facts.user_name);
    job.document = options->document.value_or(
        file == "-" ? "stdin" : fs::path(file).filename().string());
    job.datatype = info.datatype.empty() ? "RAW" : info.datatype;
    job.print_processor = info.print_processor;
    job.driver_name = info.driver_name;
    job.status = host::kJobStatusSpooling;
    job.priority = 1;
    job.total_pages = CountPages(data[i]);
    job.submitted = NowUtc();
    const std::uint32_t job_id = host::AddSpoolJob(spool_folder, job, data[i]);
    if (job_id == 0) {
      std::cerr << "plumprint: cannot queue " << file << " in " << spool_folder
                << "\n";
      result = kJobFailed;
      continue;
    }
    std::string failure;
    if (!port.PrintJob(registry, info.port_name, job_id, &failure)) {
      std::cerr << "plumprint: job " << job_id << " (" << job.document
                << ") on " << info.printer_name << " failed: " << failure
                << "\n";
      result = kJobFailed;
      continue;
    }
    std::cout << "plumprint: job " << job_id << " (" << job.document
              << ") printed on " << info.printer_name << " through "
              << info.port_name << "\n";
  }
  if (stop_requested) result = kJobFailed;
  return result;
}

}  // namespace
}  // namespace plumeta::plumprint

int main(int argc, char** argv) { return plumeta::plumprint::Main(argc, argv); }

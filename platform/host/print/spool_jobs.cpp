#include "platform/host/print/spool_jobs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "common/text.h"
#include "platform/host/console/console_events.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;

// Job ids run from 1 to this, then start again at 1.
constexpr std::uint32_t kMaxJobId = 99999;
// The last id handed out in a spool folder.
constexpr char kLastJobIdFile[] = "LASTJOB";

std::string JobFileName(std::uint32_t job_id, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof name, "%05u.%s", job_id, extension);
  return name;
}

std::uint32_t Number(const std::string& text) {
  try {
    return static_cast<std::uint32_t>(std::stoul(text));
  } catch (...) {
    return 0;
  }
}

std::string FormatTime(const platform::SystemTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u",
                time.year, time.month, time.day, time.hour, time.minute,
                time.second, time.milliseconds);
  return text;
}

platform::SystemTime ParseTime(const std::string& text) {
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0,
           milliseconds = 0;
  std::sscanf(text.c_str(), "%u-%u-%u %u:%u:%u.%u", &year, &month, &day, &hour,
              &minute, &second, &milliseconds);
  platform::SystemTime time;
  time.year = static_cast<std::uint16_t>(year);
  time.month = static_cast<std::uint16_t>(month);
  time.day = static_cast<std::uint16_t>(day);
  time.hour = static_cast<std::uint16_t>(hour);
  time.minute = static_cast<std::uint16_t>(minute);
  time.second = static_cast<std::uint16_t>(second);
  time.milliseconds = static_cast<std::uint16_t>(milliseconds);
  const std::chrono::year_month_day date{
      std::chrono::year(static_cast<int>(year)), std::chrono::month(month),
      std::chrono::day(day)};
  if (date.ok()) {
    time.day_of_week = static_cast<std::uint16_t>(
        std::chrono::weekday(std::chrono::sys_days(date)).c_encoding());
  }
  return time;
}

bool WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
  return static_cast<bool>(file.flush());
}

// Writes the file under a temporary name and renames it into place, so that
// it appears complete.
bool WriteWhole(const fs::path& path, const std::string& content) {
  const fs::path partial = path.string() + ".part";
  if (!WriteFile(partial, content)) return false;
  std::error_code error;
  fs::rename(partial, path, error);
  return !error;
}

}  // namespace

// One field a line; inside a text field \, TAB, CR and LF are escaped as
// in the console's events, so that no text can add or change a line.
std::string WriteShadowFile(const platform::PrintJob& job) {
  std::ostringstream text;
  text << "JobId=" << job.job_id << "\n"
       << "Printer=" << EscapeEventField(job.printer_name) << "\n"
       << "Machine=" << EscapeEventField(job.machine_name) << "\n"
       << "User=" << EscapeEventField(job.user_name) << "\n"
       << "Document=" << EscapeEventField(job.document) << "\n"
       << "NotifyName=" << EscapeEventField(job.notify_name) << "\n"
       << "Datatype=" << EscapeEventField(job.datatype) << "\n"
       << "PrintProcessor=" << EscapeEventField(job.print_processor) << "\n"
       << "Parameters=" << EscapeEventField(job.parameters) << "\n"
       << "Driver=" << EscapeEventField(job.driver_name) << "\n"
       << "Status=" << job.status << "\n"
       << "StatusText=" << EscapeEventField(job.status_text) << "\n"
       << "Priority=" << job.priority << "\n"
       << "StartTime=" << job.start_time << "\n"
       << "UntilTime=" << job.until_time << "\n"
       << "TotalPages=" << job.total_pages << "\n"
       << "PagesPrinted=" << job.pages_printed << "\n"
       << "Time=" << job.time << "\n"
       << "Submitted=" << FormatTime(job.submitted) << "\n";
  return text.str();
}

platform::PrintJob ParseShadowFile(const std::string& text) {
  platform::PrintJob job;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    // Numbers have nothing to unescape.
    const std::string value = UnescapeEventField(line.substr(equals + 1));
    if (name == "JobId")
      job.job_id = Number(value);
    else if (name == "Printer")
      job.printer_name = value;
    else if (name == "Machine")
      job.machine_name = value;
    else if (name == "User")
      job.user_name = value;
    else if (name == "Document")
      job.document = value;
    else if (name == "NotifyName")
      job.notify_name = value;
    else if (name == "Datatype")
      job.datatype = value;
    else if (name == "PrintProcessor")
      job.print_processor = value;
    else if (name == "Parameters")
      job.parameters = value;
    else if (name == "Driver")
      job.driver_name = value;
    else if (name == "Status")
      job.status = Number(value);
    else if (name == "StatusText")
      job.status_text = value;
    else if (name == "Priority")
      job.priority = Number(value);
    else if (name == "StartTime")
      job.start_time = Number(value);
    else if (name == "UntilTime")
      job.until_time = Number(value);
    else if (name == "TotalPages")
      job.total_pages = Number(value);
    else if (name == "PagesPrinted")
      job.pages_printed = Number(value);
    else if (name == "Time")
      job.time = Number(value);
    else if (name == "Submitted")
      job.submitted = ParseTime(value);
  }
  return job;
}

std::vector<platform::PrintJob> ReadSpoolJobs(const std::string& spool_folder,
                                              const std::string& printer_name) {
  std::vector<platform::PrintJob> jobs;
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(spool_folder, error)) {
    const fs::path& path = entry.path();
    if (!SameName(path.extension().string(), ".SHD")) continue;
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    platform::PrintJob job = ParseShadowFile(text.str());
    if (job.job_id == 0 || !SameName(job.printer_name, printer_name)) continue;
    fs::path data = path;
    data.replace_extension(".SPL");
    std::error_code size_error;
    const std::uintmax_t size = fs::file_size(data, size_error);
    job.size = size_error ? 0 : static_cast<std::uint32_t>(size);
    jobs.push_back(job);
  }
  std::sort(jobs.begin(), jobs.end(),
            [](const auto& a, const auto& b) { return a.job_id < b.job_id; });
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    jobs[i].position = static_cast<std::uint32_t>(i + 1);
  }
  return jobs;
}

std::uint32_t AddSpoolJob(const std::string& spool_folder,
                          platform::PrintJob job, const std::string& data) {
  const fs::path folder(spool_folder);
  std::error_code error;
  fs::create_directories(folder, error);
  // The data is written whole under a name of its own, then linked into
  // place: a link fails when the name is taken, which makes it the job's
  // claim on its id on every system (the C runtimes differ on fopen's "x").
  const fs::path partial =
      folder / ("new-" + std::to_string(std::random_device{}()) + ".part");
  if (!WriteFile(partial, data)) return 0;
  // Ids go on rising after their jobs have left the queue, as the
  // spooler's do, so that a program that remembers the ids it has seen
  // takes a new job for a new one. Two programs adding at once may both
  // start from the same last id; the link keeps their claims apart.
  std::ifstream last_file(folder / kLastJobIdFile);
  std::string last_text;
  std::getline(last_file, last_text);
  last_file.close();
  std::uint32_t id = Number(last_text) % kMaxJobId;
  std::uint32_t claimed = 0;
  for (std::uint32_t tries = 0; tries < kMaxJobId && claimed == 0; ++tries) {
    id = id % kMaxJobId + 1;
    std::error_code link_error;
    fs::create_hard_link(partial, folder / JobFileName(id, "SPL"), link_error);
    if (!link_error) claimed = id;
  }
  fs::remove(partial, error);
  if (claimed == 0) return 0;
  WriteWhole(folder / kLastJobIdFile, std::to_string(claimed) + "\n");
  job.job_id = claimed;
  if (!WriteWhole(folder / JobFileName(claimed, "SHD"), WriteShadowFile(job))) {
    fs::remove(folder / JobFileName(claimed, "SPL"), error);
    return 0;
  }
  return claimed;
}

void RemoveSpoolJob(const std::string& spool_folder, std::uint32_t job_id) {
  const fs::path folder(spool_folder);
  std::error_code error;
  fs::remove(folder / JobFileName(job_id, "SHD"), error);
  fs::remove(folder / JobFileName(job_id, "SPL"), error);
}

std::string SpoolDataPath(const std::string& spool_folder,
                          std::uint32_t job_id) {
  return (fs::path(spool_folder) / JobFileName(job_id, "SPL")).string();
}

bool SetSpoolJobStatus(const std::string& spool_folder, std::uint32_t job_id,
                       std::uint32_t status) {
  const fs::path shadow = fs::path(spool_folder) / JobFileName(job_id, "SHD");
  std::ifstream file(shadow, std::ios::binary);
  if (!file) return false;
  std::stringstream text;
  text << file.rdbuf();
  file.close();
  platform::PrintJob job = ParseShadowFile(text.str());
  if (job.job_id != job_id) return false;
  job.status = status;
  return WriteWhole(shadow, WriteShadowFile(job));
}

}  // namespace plumeta::host

#include "setup/driver_deployment.h"

#include <array>

#include "setup/setup_names.h"

namespace plumeta::setup {
namespace {

constexpr std::array<const char*, 8> kNt4Sources = {
    "\\system32\\Port\\NT\\AdobePS5.dll", "\\system32\\Port\\NT\\AdobePS5.ntf",
    "\\system32\\Port\\NT\\AdobePSu.dll", "\\system32\\Port\\NT\\ADOBEPSU.HLP",
    "\\system32\\Port\\NT\\defprtr2.ppd", "\\system32\\Port\\NT\\ADIST5.PPD",
    "\\system32\\Port\\NT\\ICONLIB.DLL",  "\\system32\\Port\\NT\\PSMON.DLL",
};

constexpr std::array<const char*, 4> kNt4Destinations = {
    "\\SYSTEM\\",
    "\\SYSTEM32\\",
    "\\SYSTEM32\\spool\\drivers\\w32x86\\",
    "\\SYSTEM32\\spool\\drivers\\w32x86\\2\\",
};

constexpr std::array<const char*, 7> kWin9xSources = {
    "\\SYSTEM32\\Port\\Me\\adfonts.mfm",  "\\SYSTEM32\\Port\\Me\\ADIST5.PPD",
    "\\SYSTEM32\\Port\\Me\\ADOBEPS4.DRV", "\\SYSTEM32\\Port\\Me\\ADOBEPS4.HLP",
    "\\SYSTEM32\\Port\\Me\\defprtr2.ppd", "\\SYSTEM32\\Port\\Me\\ICONLIB.DLL",
    "\\SYSTEM32\\Port\\Me\\PSMON.DLL",
};

constexpr char kWin9xDestination[] = "\\SYSTEM\\";

platform::DriverInfo2 Record(std::uint32_t version, const char* environment,
                             const char* driver, const char* data,
                             const char* config) {
  return {version, kDriverName, environment, driver, data, config};
}

platform::DriverInfo2 PostScript5Record(const char* environment) {
  return Record(3, environment, "pscript5.dll", "plumeta.ppd", "ps5ui.dll");
}

template <std::size_t N>
std::vector<std::string> UnderWindir(const std::array<const char*, N>& tails,
                                     const std::string& windir) {
  std::vector<std::string> paths;
  for (const char* tail : tails) paths.push_back(windir + tail);
  return paths;
}

}  // namespace

std::vector<platform::DriverInfo2> DriverRecords(OsFamily family, bool wow64) {
  switch (family) {
    case OsFamily::kNtModern: {
      std::vector<platform::DriverInfo2> records = {
          PostScript5Record(kEnvironmentNtX86)};
      if (wow64) records.push_back(PostScript5Record(kEnvironmentX64));
      return records;
    }
    case OsFamily::kNt4:
      return {Record(2, kEnvironmentNtX86, "AdobePS5.dll", "adist5.ppd",
                     "AdobePSu.dll")};
    case OsFamily::kWin9x:
      return {Record(0, kEnvironment9x, "adobeps4.drv", "adist5.ppd",
                     "adobeps4.drv")};
  }
  return {};
}

std::string RemovalEnvironment(OsFamily family) {
  return family == OsFamily::kWin9x ? kEnvironment9x : kEnvironmentNtX86;
}

std::vector<std::string> DriverSources(OsFamily family,
                                       const std::string& windir) {
  switch (family) {
    case OsFamily::kNtModern:
      return {};
    case OsFamily::kNt4:
      return UnderWindir(kNt4Sources, windir);
    case OsFamily::kWin9x:
      return UnderWindir(kWin9xSources, windir);
  }
  return {};
}

std::vector<std::string> DriverDestinations(OsFamily family,
                                            const std::string& windir) {
  switch (family) {
    case OsFamily::kNtModern:
      return {};
    case OsFamily::kNt4:
      return UnderWindir(kNt4Destinations, windir);
    case OsFamily::kWin9x:
      return {windir + kWin9xDestination};
  }
  return {};
}

void CopyGhostscriptPrograms(platform::Files& files,
                             const std::string& windows_prefix) {
  for (const char* name : {"gswin32c.exe", "gsdll32.dll"}) {
    files.Copy(windows_prefix + "system32\\" + name, windows_prefix + name,
               /*fail_if_exists=*/false);
  }
}

void CopyDriverFiles(TFileOperator& fo1, OsFamily family,
                     const std::string& windir) {
  for (const std::string& source : DriverSources(family, windir)) {
    fo1.FilesFrom().push_back(source);
  }
  for (const std::string& destination : DriverDestinations(family, windir)) {
    fo1.SetDirTo(destination);
    fo1.Execute();
  }
}

void RegisterDrivers(platform::Spooler& spooler, OsFamily family, bool wow64) {
  for (const platform::DriverInfo2& record : DriverRecords(family, wow64)) {
    spooler.InstallDriver(record);
  }
}

void RemoveDriver(platform::Spooler& spooler, OsFamily family) {
  spooler.RemoveDriver(RemovalEnvironment(family), kDriverName);
}

}  // namespace plumeta::setup

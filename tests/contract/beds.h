// The beds the contract suites run on, one kind per platform interface, and
// the suites' fixtures. A suite's beds come from its contract_beds.cpp.
#ifndef TESTS_CONTRACT_BEDS_H_
#define TESTS_CONTRACT_BEDS_H_

#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "tests/contract/contract.h"

namespace plumeta::contract {

// A registry and a key path under one root that no one else uses; the key's
// tree goes with the bed.
class RegistryBed {
 public:
  virtual ~RegistryBed() = default;
  virtual platform::Registry& registry() = 0;
  virtual platform::RootKey root() const = 0;
  virtual const std::string& scratch() const = 0;
};

// Files, and an empty folder (a Windows path, no trailing backslash) that
// goes with the bed.
class FilesBed {
 public:
  virtual ~FilesBed() = default;
  virtual platform::Files& files() = 0;
  virtual const std::string& folder() const = 0;
  // Holds `path` as a program holds the file it writes, sharing nothing,
  // until the returned object goes.
  virtual std::shared_ptr<void> Hold(const std::string& path) = 0;
};

// The system, as this program sees it.
class SystemBed {
 public:
  virtual ~SystemBed() = default;
  virtual platform::System& system() = 0;
  // Sets (or, with nullptr, removes) a variable of this program's
  // environment; the bed puts the old value back when it goes.
  virtual void SetEnvironment(const std::string& name, const char* value) = 0;
  // The path Windows gives this test program.
  virtual std::string ExpectedProgramPath() = 0;
};

// A spooler whose printer "Plumeta" (port PLUM:) lists the jobs of a spool
// folder written in the box's format.
class SpoolFolderBed {
 public:
  virtual ~SpoolFolderBed() = default;
  virtual platform::Spooler& spooler() = 0;
  virtual const std::string& spool_folder() const = 0;
};

// A spooler with the port PLUM:, on which a test may add its own driver and
// printer, both named name(); the bed takes away what is left of them.
class SpoolerBed {
 public:
  virtual ~SpoolerBed() = default;
  virtual platform::Spooler& spooler() = 0;
  virtual const std::string& name() const = 0;
  // The environment whose drivers the spooler looks in for this program.
  virtual std::string environment() const = 0;
};

class RegistryContract : public ContractTest<RegistryBed> {
 protected:
  platform::Registry& registry() { return bed().registry(); }
  platform::RootKey root() { return bed().root(); }
  std::string Path(const std::string& below) {
    return below.empty() ? bed().scratch() : bed().scratch() + "\\" + below;
  }
  std::unique_ptr<platform::RegistryKey> Open(const std::string& path,
                                              bool create = true) {
    std::unique_ptr<platform::RegistryKey> key;
    EXPECT_EQ(registry().OpenKey(root(), path, create, &key),
              platform::kSuccess)
        << path;
    return key;
  }
  platform::ErrorCode OpenCode(const std::string& path, bool create) {
    std::unique_ptr<platform::RegistryKey> key;
    return registry().OpenKey(root(), path, create, &key);
  }
};

class FilesContract : public ContractTest<FilesBed> {
 protected:
  platform::Files& files() { return bed().files(); }
  std::string Path(const std::string& name) {
    return bed().folder() + "\\" + name;
  }
  // Writes a file of the bed's folder through the interface.
  std::string Make(const std::string& name, const std::string& text) {
    EXPECT_EQ(files().WriteTextFile(Path(name), text,
                                    platform::FileProtection::kInherited),
              platform::kSuccess)
        << name;
    return Path(name);
  }
  std::string Text(const std::string& name) {
    return files().ReadFile(Path(name)).value_or("<unreadable>");
  }
};

class SystemContract : public ContractTest<SystemBed> {
 protected:
  platform::System& system() { return bed().system(); }
};

class SpoolFolderContract : public ContractTest<SpoolFolderBed> {};
class SpoolerContract : public ContractTest<SpoolerBed> {};

}  // namespace plumeta::contract

#endif  // TESTS_CONTRACT_BEDS_H_

// Host stand-in (Linux only). The running program as a process inside the
// box: the facts it read from system.ini when it started, its paths, and its
// WOW64 file-system redirection switch. One BoxProcess is shared by the host
// System, Files and Libraries of a program, so that turning the redirection
// off through System changes where Files reads and writes.
#ifndef PLATFORM_HOST_BOX_BOX_PROCESS_H_
#define PLATFORM_HOST_BOX_BOX_PROCESS_H_

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host/box/box_paths.h"
#include "platform/host/box/system_facts.h"

namespace plumeta::host {

class BoxProcess {
 public:
  BoxProcess(std::string box_folder, SystemFacts facts);

  // The process for the box in `box_folder`, run by the user PLUMETA_USER
  // names (box_user.h), whose profile and temporary folder are made when
  // missing; nullptr with `error` when its system.ini is missing or cannot
  // be read.
  static std::shared_ptr<BoxProcess> Open(const std::string& box_folder,
                                          std::string* error);

  const std::string& box_folder() const { return box_folder_; }
  const SystemFacts& facts() const { return facts_; }
  const BoxPaths& paths() const { return paths_; }
  // The user the program runs as when not the box's own; else empty.
  const std::string& other_user() const { return other_user_; }

  // On for a program under WOW64 until it turns it off; always off where the
  // box is not a 64-bit Windows.
  bool redirection_on() const { return facts_.is_wow64 && redirection_on_; }
  void set_redirection_on(bool on) { redirection_on_ = on; }

  // The Linux path this program reaches by `windows_path`, WOW64's
  // redirection applied; nullopt for a path Windows would refuse.
  std::optional<std::string> LinuxPath(std::string_view windows_path) const;

 private:
  std::string box_folder_;
  SystemFacts facts_;
  BoxPaths paths_;
  std::string other_user_;
  std::atomic<bool> redirection_on_{true};
};

// How Windows names the running program's file. A host program declares the
// name of its Windows counterpart before it creates its platform (the host
// `plumeta` program is "plumeta.exe"); undeclared, it is the Linux file name
// with ".exe" added.
void DeclareProgramFileName(std::string file_name);
std::string ProgramFileName();

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_BOX_PROCESS_H_

// Host stand-in (Linux only). The files a box must hold before the setup
// program runs in it, as an installation medium would have put them there:
// the NT 4.0 and 9x driver files it copies (under %windir%\system32\Port),
// the Ghostscript program and library it copies up into the Windows folder
// (system32\gswin32c.exe, gsdll32.dll), and the PostScript driver files a
// later Windows brings itself (spool\drivers\w32x86\3, and x64\3 on a
// 64-bit Windows). Each is a small text file naming what it stands for; a
// file already there (the box's Ghostscript stand-in) is left alone.
#ifndef PLATFORM_HOST_BOX_SETUP_SOURCE_FILES_H_
#define PLATFORM_HOST_BOX_SETUP_SOURCE_FILES_H_

#include <string>
#include <vector>

namespace plumeta::host {

// The Windows paths of those files for a Windows folder ("C:\WINDOWS").
std::vector<std::string> SetupSourceFiles(const std::string& windows_folder,
                                          bool is_64_bit);

// Puts the files into the box in `box_folder`; false with `error` when its
// system.ini cannot be read or a file cannot be written.
bool ProvisionSetupSourceFiles(const std::string& box_folder,
                               std::string* error);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_SETUP_SOURCE_FILES_H_

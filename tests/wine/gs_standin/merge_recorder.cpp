// A stand-in Ghostscript DLL (gsdll32.dll, gsdll64.dll in the 64-bit
// build) for the monitor's in-process merge: gsapi_init_with_args writes its
// arguments, one a line, to "arguments.txt" beside the DLL, and a small whole
// PDF to the file -sOutputFile= names ('%%' read as '%'), so the monitor
// delivers it.
#include <windows.h>

#include <cstdio>
#include <string>

#define STANDIN_GSAPI extern "C" __declspec(dllexport)

namespace {

HMODULE self = nullptr;

std::string BesideSelf(const char* name) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(self, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

void WriteFile(const std::string& path, const std::string& text) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

STANDIN_GSAPI int __stdcall gsapi_new_instance(void** instance, void*) {
  static int token;
  *instance = &token;
  return 0;
}

STANDIN_GSAPI int __stdcall gsapi_set_stdio(void*, void*, void*, void*) {
  return 0;
}

STANDIN_GSAPI int __stdcall gsapi_init_with_args(void*, int argc, char** argv) {
  static const std::string kOutput = "-sOutputFile=";
  std::string lines;
  std::string output;
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    lines += argument + "\n";
    if (argument.compare(0, kOutput.size(), kOutput) != 0) continue;
    for (std::size_t at = kOutput.size(); at < argument.size(); ++at) {
      output += argument[at];
      if (argument[at] == '%' && at + 1 < argument.size() &&
          argument[at + 1] == '%') {
        ++at;
      }
    }
  }
  WriteFile(BesideSelf("arguments.txt"), lines);
  if (!output.empty()) {
    WriteFile(output,
              "%PDF-1.4\n%merged\ntrailer\n<<>>\nstartxref\n0\n%%EOF\n");
  }
  return 0;
}

STANDIN_GSAPI int __stdcall gsapi_run_string(void*, const char*, int,
                                             int* exit_code) {
  *exit_code = 0;
  return -101;  // quit, as Ghostscript after -dBATCH
}

STANDIN_GSAPI int __stdcall gsapi_exit(void*) { return 0; }

STANDIN_GSAPI void __stdcall gsapi_delete_instance(void*) {}

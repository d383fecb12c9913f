// CallGS: one self-contained Ghostscript run. Loads the library, resolves the
// entry points, runs one instance with the host's arguments, tears it down
// and unloads the library again on every path.
#include "gsbridge/dynamic_library.h"
#include "gsbridge/gsapi.h"
#include "gsbridge/gsbridge.h"
#include "gsbridge/host_callbacks.h"

namespace plumeta::gsbridge {
namespace {

constexpr char kStartCommand[] = "systemdict /start get exec\n";

constexpr char kInvalidArguments[] = "Invalid arguments for GhostScript!";
constexpr char kCannotLoad[] = "Could not load GhostScript!";
constexpr char kNewInstanceFailed[] =
    "Error calling API function in GhostScript: gsapi_new_instance!";

struct GhostscriptApi {
  gsapi::NewInstance new_instance = nullptr;
  gsapi::SetStdio set_stdio = nullptr;
  gsapi::InitWithArgs init_with_args = nullptr;
  gsapi::RunString run_string = nullptr;
  gsapi::Exit exit = nullptr;
  gsapi::DeleteInstance delete_instance = nullptr;
};

template <typename Function>
bool Bind(const DynamicLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.Find(name));
  return function != nullptr;
}

// Resolves the six entry points in this order, all before any is called, so
// that a missing one never leaves an instance behind. Returns the message
// naming the first one missing, or null.
const char* ResolveApi(const DynamicLibrary& library, GhostscriptApi& api) {
  if (!Bind(library, "gsapi_new_instance", api.new_instance))
    return "Could not load API function in GhostScript: gsapi_new_instance!";
  if (!Bind(library, "gsapi_set_stdio", api.set_stdio))
    return "Could not load API function in GhostScript: gsapi_set_stdio!";
  if (!Bind(library, "gsapi_init_with_args", api.init_with_args))
    return "Could not load API function in GhostScript: "
           "gsapi_init_with_args!";
  if (!Bind(library, "gsapi_run_string", api.run_string))
    return "Could not load API function in GhostScript: gsapi_run_string!";
  if (!Bind(library, "gsapi_exit", api.exit))
    return "Could not load API function in GhostScript: gsapi_exit!";
  if (!Bind(library, "gsapi_delete_instance", api.delete_instance))
    return "Could not load API function in GhostScript: "
           "gsapi_delete_instance!";
  return nullptr;
}

// Ghostscript reads argv[0] to argv[argc - 1] without checking them and
// crashes on a null array or a null entry.
bool ArgumentsUsable(int argc, char** argv) {
  if (argc < 0) return false;
  if (argc == 0) return true;
  if (argv == nullptr) return false;
  for (int i = 0; i < argc; ++i) {
    if (argv[i] == nullptr) return false;
  }
  return true;
}

// One Ghostscript instance. Ending it always takes gsapi_exit (which
// Ghostscript wants after gsapi_init_with_args, whatever that returned) and
// then gsapi_delete_instance.
class ScopedInstance {
 public:
  ScopedInstance(const GhostscriptApi& api, void* instance)
      : api_(api), instance_(instance) {}
  ~ScopedInstance() {
    api_.exit(instance_);
    api_.delete_instance(instance_);
  }
  ScopedInstance(const ScopedInstance&) = delete;
  ScopedInstance& operator=(const ScopedInstance&) = delete;

  // Runs Ghostscript with the host's arguments, then (if it has not ended
  // yet) its start procedure, which reads the job from standard input until
  // the input ends. Returns Ghostscript's last code.
  int Run(int argc, char** argv) {
    api_.set_stdio(instance_, StdinRelay, OutputRelay, OutputRelay);
    int code = api_.init_with_args(instance_, argc, argv);
    if (code == 0) {
      int exit_code = 0;  // Ghostscript's; the code above says it all
      code = api_.run_string(instance_, kStartCommand, 0, &exit_code);
    }
    return code;
  }

 private:
  const GhostscriptApi& api_;
  void* instance_;
};

int Call(const char* library_name, int argc, char** argv) {
  if (!ArgumentsUsable(argc, argv)) {
    SendBridgeMessage(kInvalidArguments);
    return 0;
  }
  DynamicLibrary library(library_name);
  if (!library.loaded()) {
    SendBridgeMessage(kCannotLoad);
    return 0;
  }
  GhostscriptApi api;
  if (const char* missing = ResolveApi(library, api)) {
    library.Release();
    SendBridgeMessage(missing);
    return 0;
  }
  void* instance = nullptr;
  if (api.new_instance(&instance, nullptr) < 0) {
    library.Release();
    SendBridgeMessage(kNewInstanceFailed);
    return 0;
  }
  int code;
  {
    ScopedInstance scoped(api, instance);
    code = scoped.Run(argc, argv);
  }
  library.Release();
  return code == 0 || code == gsapi::kQuit ? 1 : 0;
}

}  // namespace
}  // namespace plumeta::gsbridge

extern "C" int GSBRIDGE_CALL CallGS(const char* library_name, int argc,
                                    char** argv) {
  return plumeta::gsbridge::Call(library_name, argc, argv);
}

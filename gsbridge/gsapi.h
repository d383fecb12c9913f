// The part of Ghostscript's published gsapi_ interface that the bridge
// calls, declared here so that the bridge builds without Ghostscript's
// headers (no Windows Ghostscript is needed to build gsbridge.dll).
#ifndef GSBRIDGE_GSAPI_H_
#define GSBRIDGE_GSAPI_H_

namespace plumeta::gsbridge::gsapi {

#ifdef _WIN32
#define GSBRIDGE_GSAPI_CALL __stdcall
#else
#define GSBRIDGE_GSAPI_CALL
#endif

// gs_error_Quit: the run ended by quitting, which is not an error.
inline constexpr int kQuit = -101;

using InputFunction = int(GSBRIDGE_GSAPI_CALL*)(void* caller, char* buffer,
                                                int length);
using OutputFunction = int(GSBRIDGE_GSAPI_CALL*)(void* caller, const char* text,
                                                 int length);

using NewInstance = int(GSBRIDGE_GSAPI_CALL*)(void** instance, void* caller);
using SetStdio = int(GSBRIDGE_GSAPI_CALL*)(void* instance, InputFunction in,
                                           OutputFunction out,
                                           OutputFunction err);
using InitWithArgs = int(GSBRIDGE_GSAPI_CALL*)(void* instance, int argc,
                                               char** argv);
using RunString = int(GSBRIDGE_GSAPI_CALL*)(void* instance, const char* text,
                                            int user_errors, int* exit_code);
using Exit = int(GSBRIDGE_GSAPI_CALL*)(void* instance);
using DeleteInstance = void(GSBRIDGE_GSAPI_CALL*)(void* instance);

}  // namespace plumeta::gsbridge::gsapi

#endif  // GSBRIDGE_GSAPI_H_

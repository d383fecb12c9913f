// A stand-in for Ghostscript's library with the six gsapi_ entry points the
// bridge uses. Each call is recorded; the results come from the recorder.
// gsapi_init_with_args treats its arguments as a script that exercises the
// stdio functions the bridge installed:
//   stdout:TEXT        writes TEXT to standard output
//   stderr:TEXT        writes TEXT to standard error
//   stdout-part:N:TEXT writes the first N bytes of TEXT (not NUL-terminated)
//   stdin:N            asks for N bytes of input
// Built once complete and once without each entry point in turn
// (FAKE_GS_WITHOUT_<ENTRY POINT>).
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "recorder.h"

#ifdef _WIN32
#define FAKE_GSAPI extern "C" __declspec(dllexport)
#define FAKE_GS_CALL __stdcall
#else
#define FAKE_GSAPI extern "C" __attribute__((visibility("default")))
#define FAKE_GS_CALL
#endif

namespace {

using InputFunction = int(FAKE_GS_CALL*)(void*, char*, int);
using OutputFunction = int(FAKE_GS_CALL*)(void*, const char*, int);

int the_instance;  // its address is the instance handed out
InputFunction input_function = nullptr;
OutputFunction output_function = nullptr;
OutputFunction error_function = nullptr;

// Records loading and unloading of this library.
struct LifetimeRecorder {
  LifetimeRecorder() { FakeGsRecord("load"); }
  ~LifetimeRecorder() { FakeGsRecord("unload"); }
} lifetime_recorder;

void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Record(const char* format, ...) {
  char event[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(event, sizeof event, format, arguments);
  va_end(arguments);
  FakeGsRecord(event);
}

const char* InstanceNote(void* instance) {
  return instance == &the_instance ? "" : " (foreign instance)";
}

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

void Write(const char* stream, OutputFunction function, const char* text,
           int length) {
  const int written = function(nullptr, text, length);
  Record("%s wrote %d", stream, written);
}

void Read(int length) {
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  if (length > static_cast<int>(sizeof buffer)) length = sizeof buffer;
  const int read = input_function(nullptr, buffer, length);
  const int shown = read < 0 ? 0 : (read > length ? length : read);
  Record("stdin read %d '%.*s'", read, shown, buffer);
}

// Unused in the fake without gsapi_init_with_args.
[[maybe_unused]] void RunScriptStep(const char* step) {
  if (StartsWith(step, "stdout:")) {
    const char* text = step + 7;
    Write("stdout", output_function, text, std::strlen(text));
  } else if (StartsWith(step, "stderr:")) {
    const char* text = step + 7;
    Write("stderr", error_function, text, std::strlen(text));
  } else if (StartsWith(step, "stdout-part:")) {
    char* text = nullptr;
    const long length = std::strtol(step + 12, &text, 10);
    Write("stdout", output_function, text + 1, static_cast<int>(length));
  } else if (StartsWith(step, "stdin:")) {
    Read(std::atoi(step + 6));
  } else {
    Record("argument '%s'", step);
  }
}

}  // namespace

#ifndef FAKE_GS_WITHOUT_GSAPI_NEW_INSTANCE
FAKE_GSAPI int FAKE_GS_CALL gsapi_new_instance(void** instance, void* caller) {
  Record("gsapi_new_instance%s", caller == nullptr ? "" : " (caller handle)");
  const int result = FakeGsResult(kFakeGsNewInstance);
  if (result >= 0) *instance = &the_instance;
  return result;
}
#endif

#ifndef FAKE_GS_WITHOUT_GSAPI_SET_STDIO
FAKE_GSAPI int FAKE_GS_CALL gsapi_set_stdio(void* instance, InputFunction in,
                                            OutputFunction out,
                                            OutputFunction err) {
  Record("gsapi_set_stdio%s%s", InstanceNote(instance),
         in != nullptr && out != nullptr && out == err
             ? ""
             : " (unexpected functions)");
  input_function = in;
  output_function = out;
  error_function = err;
  return 0;
}
#endif

#ifndef FAKE_GS_WITHOUT_GSAPI_INIT_WITH_ARGS
FAKE_GSAPI int FAKE_GS_CALL gsapi_init_with_args(void* instance, int argc,
                                                 char** argv) {
  Record("gsapi_init_with_args%s argc=%d argv0=%s", InstanceNote(instance),
         argc, argc > 0 ? argv[0] : "-");
  for (int i = 1; i < argc; ++i) RunScriptStep(argv[i]);
  return FakeGsResult(kFakeGsInitWithArgs);
}
#endif

#ifndef FAKE_GS_WITHOUT_GSAPI_RUN_STRING
FAKE_GSAPI int FAKE_GS_CALL gsapi_run_string(void* instance, const char* text,
                                             int user_errors, int* exit_code) {
  const bool expected_text =
      std::strcmp(text, "systemdict /start get exec\n") == 0;
  Record("gsapi_run_string%s%s user_errors=%d%s", InstanceNote(instance),
         expected_text ? "" : " (unexpected text)", user_errors,
         exit_code == nullptr ? " (no exit code)" : "");
  if (exit_code != nullptr) *exit_code = 0;
  return FakeGsResult(kFakeGsRunString);
}
#endif

#ifndef FAKE_GS_WITHOUT_GSAPI_EXIT
FAKE_GSAPI int FAKE_GS_CALL gsapi_exit(void* instance) {
  Record("gsapi_exit%s", InstanceNote(instance));
  return 0;
}
#endif

#ifndef FAKE_GS_WITHOUT_GSAPI_DELETE_INSTANCE
FAKE_GSAPI void FAKE_GS_CALL gsapi_delete_instance(void* instance) {
  Record("gsapi_delete_instance%s", InstanceNote(instance));
}
#endif

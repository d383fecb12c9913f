// The fake Ghostscript's control and event log. It lives in a library of its
// own, loaded by the test program, so that it outlives every fake Ghostscript
// library the bridge loads and unloads, and so that the fake's events and the
// test's host callbacks land in one ordered log.
#ifndef TESTS_UNIT_GSBRIDGE_FAKE_GHOSTSCRIPT_RECORDER_H_
#define TESTS_UNIT_GSBRIDGE_FAKE_GHOSTSCRIPT_RECORDER_H_

#if defined(_WIN32)
#if defined(FAKE_GS_BUILDING_RECORDER)
#define FAKE_GS_RECORDER_API __declspec(dllexport)
#else
#define FAKE_GS_RECORDER_API __declspec(dllimport)
#endif
#else
#define FAKE_GS_RECORDER_API __attribute__((visibility("default")))
#endif

extern "C" {

// Which of the fake's entry points a result belongs to.
enum FakeGsEntryPoint {
  kFakeGsNewInstance = 0,
  kFakeGsInitWithArgs = 1,
  kFakeGsRunString = 2,
};

// Empties the log and sets every result to 0.
FAKE_GS_RECORDER_API void FakeGsReset(void);
FAKE_GS_RECORDER_API void FakeGsSetResult(int entry_point, int result);
FAKE_GS_RECORDER_API int FakeGsResult(int entry_point);

// Appends one event to the log.
FAKE_GS_RECORDER_API void FakeGsRecord(const char* event);

// Copies the log, one event per line, into `buffer` (NUL-terminated,
// truncated to `size`) and returns the length the whole log needs.
FAKE_GS_RECORDER_API int FakeGsLog(char* buffer, int size);
}

#endif  // TESTS_UNIT_GSBRIDGE_FAKE_GHOSTSCRIPT_RECORDER_H_

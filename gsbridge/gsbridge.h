/* gsbridge: runs Ghostscript inside the calling program through
 * Ghostscript's gsapi_ interface, without linking against Ghostscript.
 *
 * Usable from C and C++. On Windows the library is gsbridge.dll and both
 * functions and both callbacks use the stdcall convention; elsewhere it is
 * libgsbridge.so and everything uses the platform's own convention. */
#ifndef GSBRIDGE_GSBRIDGE_H_
#define GSBRIDGE_GSBRIDGE_H_

#ifdef _WIN32
#define GSBRIDGE_CALL __stdcall
#else
#define GSBRIDGE_CALL
#endif

#if defined(GSBRIDGE_BUILDING_LIBRARY) && !defined(_WIN32)
#define GSBRIDGE_EXPORT __attribute__((visibility("default")))
#else
#define GSBRIDGE_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Fills up to `length` bytes of `buffer` with input for Ghostscript and
 * returns how many it placed there; 0 means end of input. The result goes
 * back to Ghostscript unchanged. */
typedef int(GSBRIDGE_CALL* GsBridgeInputCallback)(char* buffer, int length);

/* Receives Ghostscript's standard output and standard error (the two are not
 * told apart) as `length` bytes at `text`, not NUL-terminated. A call with
 * `length` 0 carries one of the bridge's own error messages instead, as a
 * NUL-terminated string. */
typedef void(GSBRIDGE_CALL* GsBridgeOutputCallback)(const char* text,
                                                    int length);

/* Stores the callbacks for every later CallGS, replacing earlier ones.
 * `reserved` is kept and never used. A NULL callback is never called: input
 * then reads as empty and output is dropped. */
GSBRIDGE_EXPORT void GSBRIDGE_CALL InstallCallBacks(
    GsBridgeInputCallback input, GsBridgeOutputCallback output, void* reserved);

/* Loads the Ghostscript library `library_name` (for example "gsdll32.dll",
 * "gsdll64.dll", a full path, or "libgs.so.10"), runs one Ghostscript
 * instance with argc/argv (argv[0] is the program name, as for the gs
 * program), and unloads the library again. Returns 1 when Ghostscript
 * finished without error (or quit), 0 otherwise. */
GSBRIDGE_EXPORT int GSBRIDGE_CALL CallGS(const char* library_name, int argc,
                                         char** argv);

/* For host programs that find the functions with GetProcAddress or dlsym
 * (on Windows also by ordinal: CallGS 1, InstallCallBacks 2). */
typedef void(GSBRIDGE_CALL* GsBridgeInstallCallBacksFunction)(
    GsBridgeInputCallback input, GsBridgeOutputCallback output, void* reserved);
typedef int(GSBRIDGE_CALL* GsBridgeCallGSFunction)(const char* library_name,
                                                   int argc, char** argv);

#ifdef __cplusplus
}
#endif

#endif /* GSBRIDGE_GSBRIDGE_H_ */

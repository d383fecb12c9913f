// One loaded shared library (a DLL on Windows), released when the object
// goes out of scope or earlier through Release().
#ifndef GSBRIDGE_DYNAMIC_LIBRARY_H_
#define GSBRIDGE_DYNAMIC_LIBRARY_H_

namespace plumeta::gsbridge {

class DynamicLibrary {
 public:
  using Symbol = void (*)();

  // Loads the library by the name given, unchanged (the system's search
  // rules apply to a bare file name). A null name loads nothing.
  explicit DynamicLibrary(const char* name);
  ~DynamicLibrary() { Release(); }
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }

  // The exported function of that exact name, or null.
  Symbol Find(const char* name) const;

  // Drops this object's reference to the library; safe to repeat.
  void Release();

 private:
  void* handle_ = nullptr;
};

}  // namespace plumeta::gsbridge

#endif  // GSBRIDGE_DYNAMIC_LIBRARY_H_

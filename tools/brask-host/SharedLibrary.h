#pragma once
// SharedLibrary: a module loaded by path (dlopen, LoadLibrary), as a host loads a binary, and
// unloaded when the object goes. The plug-in instance must be gone before that.

#include <string>

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Loads the file; on failure answers false with the loader's message in *error.
  bool Open(const std::string& file, std::string* error);
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  void* Handle() const { return handle; }
  const std::string& Path() const { return path; }

 private:
  void* handle = nullptr;
  std::string path;  ///< as opened
};

#pragma once

// A file in the temporary folder that has no name: it goes when its last descriptor closes, however the
// process ends, so that nothing of it is left behind, even by a process killed mid-way. A child process
// made by fork shares it, and opens it again by path().

#include <string>

class AnonymousFile {
 public:
  // Throws std::runtime_error when the temporary folder takes no file.
  AnonymousFile();
  AnonymousFile(const AnonymousFile&) = delete;
  AnonymousFile& operator=(const AnonymousFile&) = delete;
  ~AnonymousFile();

  // A path that opens this file, for as long as it lives.
  std::string path() const;

 private:
  int descriptor_ = -1;
};

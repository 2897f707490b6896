#pragma once

// Takes what is written to std::cerr while it lives, for tests of output on the standard error stream. Main
// thread: nothing else may write to std::cerr meanwhile.

#include <iostream>
#include <sstream>
#include <string>

class CerrCapture {
 public:
  CerrCapture() : saved_(std::cerr.rdbuf(captured_.rdbuf())) {}
  CerrCapture(const CerrCapture&) = delete;
  CerrCapture& operator=(const CerrCapture&) = delete;
  ~CerrCapture() { std::cerr.rdbuf(saved_); }

  std::string text() const { return captured_.str(); }

 private:
  std::ostringstream captured_;
  std::streambuf* saved_;
};

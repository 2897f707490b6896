#include "host/cad/kernel/anonymous_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

std::filesystem::path temporaryFolder() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) throw std::runtime_error("no temporary folder");
  return folder;
}

// For file systems without unnamed files: a named one, unnamed at once.
int unnamedAtOnce(const std::filesystem::path& folder) {
  std::string name = (folder / "palpera-shape-XXXXXX").string();
  const int descriptor = mkostemp(name.data(), O_CLOEXEC);
  if (descriptor >= 0) unlink(name.c_str());
  return descriptor;
}

}  // namespace

AnonymousFile::AnonymousFile() {
  const std::filesystem::path folder = temporaryFolder();
  descriptor_ = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (descriptor_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) descriptor_ = unnamedAtOnce(folder);
  if (descriptor_ < 0) throw std::runtime_error("no file in the temporary folder");
}

AnonymousFile::~AnonymousFile() {
  close(descriptor_);
}

std::string AnonymousFile::path() const {
  return "/proc/self/fd/" + std::to_string(descriptor_);
}

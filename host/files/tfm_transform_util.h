#pragma once

// The stand-in host's transform files (".tfm", described in tfm_format.md beside this file). Records the
// calls of prepareLoad, so tests see that a load was announced. Safe on any thread.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/core/host_unknown.h"
#include "host_api/file_services.h"

class TfmTransformUtil : public ITransformUtil, public ITransformLoadReason, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "TfmTransformUtil";

  void prepareLoad(int32_t mode) override;
  bool load(const ZelString& path, double* matrix) override;
  bool save(const ZelString& path, const double* matrix) override;
  void explainLoad(const ZelString& path, ZelString& why) override;

  int32_t prepareCalls() const { return prepareCalls_; }
  int32_t lastPrepareMode() const { return lastPrepareMode_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> prepareCalls_ = 0;
  std::atomic<int32_t> lastPrepareMode_ = -1;

  // As load, and why says why it fails (empty when there is no file at path).
  static bool readMatrix(const ZelString& path, double* matrix, ZelString& why);
};

// The file's text as the format reads it: false, leaving matrix alone, unless it holds exactly sixteen
// finite numbers; then *why (when given) says where the text fails, as the end of a sentence for the user
// ("row 3 is missing", "row 2, number 4 is not a finite number").
bool parseTfmText(std::string_view text, double* matrix, std::string* why = nullptr);
// The text the format writes for matrix.
std::string tfmText(const double* matrix);

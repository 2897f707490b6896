#pragma once

// The stand-in host's open and save dialogs: each answers the next of a scripted queue of answers (a path
// with a filter index, or cancel); an empty queue answers cancel, so no test ever waits for a user. Every
// dialog shown is recorded with the directory, filter text and filter index it was shown with. The path
// answered is handed over as it was queued. Safe on any thread.

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/file_services.h"

class ScriptedFileDialogs : public IGuiUtil, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "ScriptedFileDialogs";

  struct Answer {
    std::u16string path;
    int32_t filterIndex = 0;
  };
  struct Shown {
    bool save = false;
    std::u16string directory;
    std::u16string filter;
    int32_t filterIndex = 0;  // as the dialog was opened with it; an open dialog's only
  };

  // The next dialog chooses path with the filter entry filterIndex (counted from 0 for an open dialog, from
  // 1 for a save dialog; an open dialog takes an index below 0 as 0); nothing: it is cancelled.
  void queueAnswer(std::optional<Answer> answer);
  std::vector<Shown> shown();
  size_t pendingAnswers();
  // Forgets the queue and what was shown.
  void clear();

  bool openFileDialog(ZelString& fileName, int32_t& filterIndex, const ZelString& directory,
                      const ZelString& filter, bool multiple, IZelUnknown* reserved) override;
  bool saveFileDialog(ZelString& fileName, int32_t& filterIndex, const ZelString& directory,
                      const ZelString& filter) override;
  bool fileExists(const ZelString& path) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Records the dialog and takes the next answer.
  std::optional<Answer> show(Shown shown);

  std::mutex mutex_;
  std::deque<std::optional<Answer>> answers_;  // guarded by mutex_
  std::vector<Shown> shown_;                   // guarded by mutex_
};

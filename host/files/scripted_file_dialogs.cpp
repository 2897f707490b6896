#include "host/files/scripted_file_dialogs.h"

#include <algorithm>

#include "framework/object/query_chain.h"
#include "platform/file.h"

void ScriptedFileDialogs::queueAnswer(std::optional<Answer> answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(std::move(answer));
}

std::vector<ScriptedFileDialogs::Shown> ScriptedFileDialogs::shown() {
  std::lock_guard lock(mutex_);
  return shown_;
}

size_t ScriptedFileDialogs::pendingAnswers() {
  std::lock_guard lock(mutex_);
  return answers_.size();
}

void ScriptedFileDialogs::clear() {
  std::lock_guard lock(mutex_);
  answers_.clear();
  shown_.clear();
}

std::optional<ScriptedFileDialogs::Answer> ScriptedFileDialogs::show(Shown shown) {
  std::lock_guard lock(mutex_);
  shown_.push_back(std::move(shown));
  if (answers_.empty()) return std::nullopt;
  std::optional<Answer> answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

bool ScriptedFileDialogs::openFileDialog(ZelString& fileName, int32_t& filterIndex,
                                         const ZelString& directory, const ZelString& filter, bool,
                                         IZelUnknown*) {
  std::optional<Answer> answer = show({false, directory.c_str(), filter.c_str(), filterIndex});
  if (!answer) return false;
  fileName.setBuffer(answer->path.c_str(), -1);
  // An open dialog always has an entry chosen.
  filterIndex = std::max(answer->filterIndex, 0);
  return true;
}

bool ScriptedFileDialogs::saveFileDialog(ZelString& fileName, int32_t& filterIndex,
                                         const ZelString& directory, const ZelString& filter) {
  std::optional<Answer> answer = show({true, directory.c_str(), filter.c_str(), 0});
  if (!answer) return false;
  fileName.setBuffer(answer->path.c_str(), -1);
  filterIndex = answer->filterIndex;
  return true;
}

bool ScriptedFileDialogs::fileExists(const ZelString& path) {
  return platform::fileKind(path.c_str()) != platform::FileKind::kMissing;
}

void ScriptedFileDialogs::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiUtil>(this).end();
}

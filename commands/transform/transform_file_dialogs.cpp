#include "commands/transform/transform_file_dialogs.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "basic_types/string_utilities.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_id.h"
#include "commands/transform/izel_transformation_file_reader.h"
#include "framework/files/zel_fstream.h"
#include "framework/files/zel_path.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/iptr.h"
#include "framework/registrations/static_constants.h"
#include "framework/translation/tr.h"
#include "host_api/registry_paths.h"
#include "host_api/zel_registry.h"
#include "platform/file.h"
#include "platform/text_encoding.h"

namespace {

using Reader = IPtr<IZelTransformationFileReader>;

// The readers the registry lists that can be made, by their descriptions in natural order.
std::vector<Reader> registeredReaders() {
  std::vector<Reader> readers;
  SPtr<Corvane::IZelRegistry> registry;
  if (!registry) return readers;
  const ZelCString path(kTransformationFileReadersPath);
  IPtr<Corvane::IZelRegIter> walk(registry->entries(&path));
  for (walk->first(); !walk->isDone(); walk->next()) {
    Reader reader;
    reader.createInstance(ZelID::fromString(*walk->currentValue()));
    if (reader) readers.push_back(std::move(reader));
  }
  std::stable_sort(readers.begin(), readers.end(), [](const Reader& a, const Reader& b) {
    return naturalCompare(a->description().c_str(), b->description().c_str()) < 0;
  });
  return readers;
}

// ";;description (*.a;*.b)" for a reader.
ZelString filterEntry(IZelTransformationFileReader& reader) {
  ZelString entry(u";;");
  entry += reader.description();
  entry += ZelString(u" (");
  ZelCountedArray<ZelString> extensions;
  reader.extensions().splitCounted(extensions);
  for (int32_t i = 1; i <= extensions.count(); ++i) {
    if (i > 1) entry += ZelString(u";");
    entry += ZelString(u"*.");
    entry += extensions[i];
  }
  entry += ZelString(u")");
  return entry;
}

// A file that is not there gets the message alone: anything more would send the user looking for a fault in
// it.
void reportUnloadable(const ZelString& chosen, const ZelString& why) {
  reportUserError(why.isEmpty() ? tr("Unable to open file '%1' for loading.", chosen)
                                : tr("Unable to open file '%1' for loading: %2.", chosen, why));
}

// Why the file's text is in an encoding (UTF-16, UTF-32) that a reader of a text format fails on for no
// reason it could give; null for any other.
const char* encodingRefusal(const ZelString& normalised) {
  ZelIfstream file(normalised, std::ios_base::in | std::ios_base::binary);
  char head[4] = {};
  file.read(head, sizeof head);
  return platform::encodingRefusal(std::string_view(head, static_cast<size_t>(file.gcount())));
}

// Why a listed reader failed on a file that is there.
ZelString whyUnread(IZelTransformationFileReader& reader, const ZelString& normalised) {
  if (const char* refusal = encodingRefusal(normalised)) return ZelString(refusal);
  return tr("it cannot be read as a %1", reader.description());
}

// The folder of a normalised file name, a bare drive with its separator.
ZelString folderOf(const ZelString& normalised) {
  return ZelPath::directoryForm(ZelPath::directory(normalised));
}

}  // namespace

bool TransformFileDialogs::loadTransformFile(double* matrix) {
  SPtr<IGuiUtil> dialogs;
  SPtr<ITransformUtil> transforms;
  if (!dialogs || !transforms) return false;
  const std::vector<Reader> readers = registeredReaders();
  ZelString filter = transformFilesFilter();
  for (const Reader& reader : readers) filter += filterEntry(*reader);
  ZelString chosen;
  if (!dialogs->openFileDialog(chosen, lastFilterIndex_, lastDirectory_, filter, false, nullptr))
    return false;
  lastFile_ = chosen;
  ZelString normalised = chosen;
  ZelPath::normalize(normalised);
  lastDirectory_ = folderOf(normalised);
  const int32_t entry = lastFilterIndex_;
  if (entry < 0) return false;
  if (entry == 0) {
    transforms->prepareLoad(0);
    return loadTfmFile(*transforms, chosen, matrix);
  }
  // The index comes from the host's dialog: an entry past the list is a file that cannot be read.
  const bool listed = static_cast<size_t>(entry) <= readers.size();
  if (listed && readers[entry - 1]->read(chosen, matrix)) return true;
  const bool there = platform::fileKind(normalised.c_str()) == platform::FileKind::kRegular;
  reportUnloadable(chosen, listed && there ? whyUnread(*readers[entry - 1], normalised) : ZelString());
  return false;
}

bool loadTfmFile(ITransformUtil& transforms, const ZelString& chosen, double* matrix) {
  ZelString normalised = chosen;
  ZelPath::normalize(normalised);
  if (transforms.load(normalised, matrix)) return true;
  ZelString why;
  SPtr<ITransformLoadReason> reasons;
  if (reasons) reasons->explainLoad(normalised, why);
  reportUnloadable(chosen, why);
  return false;
}

void TransformFileDialogs::saveTransformFile(const double* matrix) {
  SPtr<IGuiUtil> dialogs;
  if (!dialogs) return;
  if (std::optional<TransformSavePath> path = askTransformSavePath(*dialogs, &lastDirectory_))
    writeTransformFile(*path, matrix);
}

std::optional<TransformSavePath> askTransformSavePath(IGuiUtil& dialogs, ZelString* rememberedDirectory) {
  SPtr<IFileTypeService> fileTypes;
  while (true) {
    ZelString chosen;
    int32_t filterIndex = 0;
    const ZelString& directory = rememberedDirectory ? *rememberedDirectory : emptyZelString();
    if (!dialogs.saveFileDialog(chosen, filterIndex, directory, transformFilesFilter())) return std::nullopt;
    ZelString path = chosen;
    ZelPath::normalize(path);
    if (rememberedDirectory) *rememberedDirectory = folderOf(path);
    ZelPath::setExtension(path, ZelString(u"tfm"));
    if (!fileTypes || fileTypes->acceptSavePath(ZelPath::directoryForm(path), 1, 0, true) != 0)
      return TransformSavePath{path, ZelPath::inSeparatorsOf(path, chosen)};
  }
}

void writeTransformFile(const TransformSavePath& path, const double* matrix) {
  SPtr<ITransformUtil> transforms;
  if (!transforms || !transforms->save(path.path, matrix))
    reportUserError(tr("Unable to open file '%1' for saving.", path.shown));
}

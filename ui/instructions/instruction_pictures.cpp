#include "ui/instructions/instruction_pictures.h"

#include <algorithm>

#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "gen/palpera/palpera_instruction_pictures.h"
#include "host_api/zel_image.h"

int32_t instructionPictureCount(InstructionPictureSet set) {
  return static_cast<int32_t>(
      std::count_if(std::begin(kInstructionPictures), std::end(kInstructionPictures),
                    [set](const EmbeddedInstructionPicture& p) { return p.set == set; }));
}

InstructionPicture instructionPicture(InstructionPictureSet set, int32_t number) {
  for (const EmbeddedInstructionPicture& picture : kInstructionPictures) {
    if (picture.set == set && picture.number == number) return {picture.png, picture.size};
  }
  return {};
}

IPtr<IZelImage> decodedInstructionPicture(const void* bytes, uint32_t byteCount) {
  SPtr<IZelImageWriter> writer;
  SPtr<IZelImage> image;  // a fresh image for every lookup
  if (!writer || !image || !writer->decode(image.get(), bytes, byteCount, "PNG", 0, 0)) return {};
  return IPtr<IZelImage>(image.get());
}

IPtr<IZelUserInstructions> InstructionPictureCache::instructions(InstructionPictureSet set,
                                                                 bool withThirdPicture) {
  IPtr<IZelMutableUserInstructions> made;
  made.createInstance(classIdOf("UserInstructions"));
  if (!made) return {};
  const int32_t shown = std::min(instructionPictureCount(set), withThirdPicture ? 3 : 2);
  for (int32_t number = 1; number <= shown; ++number) {
    if (IPtr<IZelImage> image = picture(set, number)) made->addImage(image.get());
  }
  return IPtr<IZelUserInstructions>(queryPart<IZelUserInstructions>(made.get()));
}

IPtr<IZelImage> InstructionPictureCache::picture(InstructionPictureSet set, int32_t number) {
  for (const Decoded& known : decoded_) {
    if (known.set == set && known.number == number) return known.image;
  }
  const InstructionPicture bytes = instructionPicture(set, number);
  IPtr<IZelImage> image = decodedInstructionPicture(bytes.png, bytes.size);
  if (image) decoded_.push_back({set, number, image});
  return image;
}

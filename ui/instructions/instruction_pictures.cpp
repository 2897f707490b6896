#include "ui/instructions/instruction_pictures.h"

#include <algorithm>

#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "gen/palpera/palpera_instruction_pictures.h"
#include "host/api/zel_image.h"

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

bool appendInstructionImage(IZelMutableUserInstructions* instructions, const void* bytes,
                            uint32_t byteCount) {
  if (!instructions) return false;
  SPtr<IZelImageWriter> writer;
  SPtr<IZelImage> image;  // a fresh image for every lookup
  if (!writer || !image || !writer->decode(image.get(), bytes, byteCount, "PNG", 0, 0)) return false;
  instructions->addImage(image.get());
  return true;
}

IPtr<IZelUserInstructions> instructionsWithPictures(InstructionPictureSet set, bool withThirdPicture) {
  IPtr<IZelMutableUserInstructions> made;
  made.createInstance(classIdOf("UserInstructions"));
  if (!made) return {};
  const int32_t shown = std::min(instructionPictureCount(set), withThirdPicture ? 3 : 2);
  for (int32_t number = 1; number <= shown; ++number) {
    InstructionPicture picture = instructionPicture(set, number);
    appendInstructionImage(made.get(), picture.png, picture.size);
  }
  return IPtr<IZelUserInstructions>(queryPart<IZelUserInstructions>(made.get()));
}

#pragma once

// The instruction pictures the module carries: a few 225 x 150 PNG pictures for each kind of feature, which
// show the operator where to probe and which button to press, and the steps that hand them to user
// instructions as host images. The pictures are drawn by scripts/draw_icons.py, which also names the sets.
// Main thread only, as the instructions they fill.

#include <cstdint>
#include <vector>

#include "framework/object/iptr.h"
#include "gen/palpera/palpera_instruction_picture_sets.h"
#include "ui/instructions/zel_user_instructions.h"

// The size of every instruction picture, in pixels.
inline constexpr uint32_t kInstructionPictureWidth = 225;
inline constexpr uint32_t kInstructionPictureHeight = 150;

// A picture's whole PNG file, in the module's read-only data; empty (no bytes) for a picture there is not.
struct InstructionPicture {
  const unsigned char* png = nullptr;
  uint32_t size = 0;
};

// How many pictures the set has.
int32_t instructionPictureCount(InstructionPictureSet set);

// Picture number (from 1) of the set.
InstructionPicture instructionPicture(InstructionPictureSet set, int32_t number);

// The PNG file bytes[0 .. byteCount) decoded into a new host image; empty when the host lacks its image or
// its decoder, or when the decoder refuses the bytes.
IPtr<IZelImage> decodedInstructionPicture(const void* bytes, uint32_t byteCount);

// The instructions a collector (or the feature picker) shows, with their pictures decoded once: it is asked
// for them after every point, and decoding a picture costs far more than showing it again. Every call hands
// out new instructions; the pictures in them are shared and only read. A picture the host could not decode
// is tried again next time. Holds host images, so its owner lets go of it before the host goes.
class InstructionPictureCache {
 public:
  // New user instructions, made by their class id, without text and holding the set's first two pictures,
  // and its third too when withThirdPicture and the set has one: what a collector shows while its feature
  // is probed (the third picture offers a feature already made for picking). Empty without a host.
  IPtr<IZelUserInstructions> instructions(InstructionPictureSet set, bool withThirdPicture);

 private:
  struct Decoded {
    InstructionPictureSet set;
    int32_t number;
    IPtr<IZelImage> image;
  };

  // Picture number of the set, decoded now or before; empty when the host cannot decode it.
  IPtr<IZelImage> picture(InstructionPictureSet set, int32_t number);

  std::vector<Decoded> decoded_;
};

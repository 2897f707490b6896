#pragma once

// The instruction pictures the module carries: a few 225 x 150 PNG pictures for each kind of feature, which
// show the operator where to probe and which button to press, and the steps that hand them to user
// instructions as host images. The pictures are drawn by scripts/draw_icons.py, which also names the sets.
// Main thread only, as the instructions they fill.

#include <cstdint>

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

// Decodes the PNG file bytes[0 .. byteCount) into a new host image and appends it to the instructions.
// Appends nothing, answering false, without instructions, when the host lacks its image or its decoder,
// or when the decoder refuses the bytes.
bool appendInstructionImage(IZelMutableUserInstructions* instructions, const void* bytes, uint32_t byteCount);

// New user instructions, made by their class id, without text and holding the set's first two pictures,
// and its third too when withThirdPicture and the set has one: what a collector shows while its feature is
// probed (the third picture offers a feature already made for picking). Empty without a host.
IPtr<IZelUserInstructions> instructionsWithPictures(InstructionPictureSet set, bool withThirdPicture);

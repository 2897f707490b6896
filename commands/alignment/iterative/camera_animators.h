#pragma once

// Camera moves of the iterative alignment's probing. A temporary view theme saves the user's camera, so that
// the view can fly from target to target and then return. A move goes smoothly, through the host's camera
// animation, when "View/Smooth Camera Transition" is on and the host animates; otherwise at once. Main
// thread only.

#include <cstdint>

#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"

class PalperaIterativeAlignmentCmd::TemporaryViewTheme {
 public:
  TemporaryViewTheme() = default;
  TemporaryViewTheme(const TemporaryViewTheme&) = delete;
  TemporaryViewTheme& operator=(const TemporaryViewTheme&) = delete;
  ~TemporaryViewTheme() { restore(); }

  // Pushes the host theme "Temporary View", saving the camera; a theme already applied is restored first.
  void apply();
  // Returns the camera to the saved state and takes the theme off; nothing when none is applied.
  void restore();
  // Takes the theme off without moving the camera.
  void remove();
  bool isApplied() const { return id_ >= 0; }
  int32_t id() const { return id_; }

 private:
  int32_t id_ = -1;
};

// Moves the current view's camera to viewPoint.
void moveCameraTo(const ViewPoint& viewPoint);
// Moves the current view's camera back to the state saved by theme (nothing when it is not applied).
void moveCameraBack(const PalperaIterativeAlignmentCmd::TemporaryViewTheme& theme);

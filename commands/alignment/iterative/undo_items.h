#pragma once

// What undo and redo of the iterative alignment's target list take back and do again: one picked target,
// or the targets one location set loaded. Undo takes entries off the end of the list, which is right only
// because both stacks are strictly last in, first out and every action that adds entries pushes its item.
// Main thread only.

#include <cstdint>
#include <vector>

#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"

class PalperaIterativeAlignmentCmd::IUndoItem : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaIterativeAlignmentCmd::IUndoItem";

  virtual void undo(PalperaIterativeAlignmentCmd& command) = 0;
  virtual void redo(PalperaIterativeAlignmentCmd& command) = 0;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

class PalperaIterativeAlignmentCmd::TargetUndoItem : public IUndoItem {
 public:
  static constexpr const char* interfaceName = "PalperaIterativeAlignmentCmd::TargetUndoItem";

  explicit TargetUndoItem(Target* target);

  void undo(PalperaIterativeAlignmentCmd& command) override;
  void redo(PalperaIterativeAlignmentCmd& command) override;

  const char* className() override { return interfaceName; }

 private:
  IPtr<Target> target_;
};

class PalperaIterativeAlignmentCmd::LocationSetUndoItem : public IUndoItem {
 public:
  static constexpr const char* interfaceName = "PalperaIterativeAlignmentCmd::LocationSetUndoItem";

  // index: the set's place in the location-set list, from 0.
  explicit LocationSetUndoItem(int32_t index) : index_(index) {}

  void addTarget(Target* target);
  size_t targetCount() const { return targets_.size(); }
  // Takes the set's targets off the end of the list and makes its list entry selectable again.
  void undo(PalperaIterativeAlignmentCmd& command) override;
  // Adds the set's targets again and disables its list entry.
  void redo(PalperaIterativeAlignmentCmd& command) override;

  const char* className() override { return interfaceName; }

 private:
  int32_t index_ = -1;
  std::vector<IPtr<Target>> targets_;
};

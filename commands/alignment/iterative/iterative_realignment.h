#pragma once

// The realignment of the iterative alignment, which its command owns and runs after every change of its
// target list or of a measured point: the device-to-part alignment M from every target with a nominal and
// a measured point (a point-pair fit from 3 of them, refined onto the reference surface from 6 on), each
// target's surface point and deviation under M, the target graphics rebuilt, the device aligned to the part
// where it stands (M followed by the reference's placement, as the whole device transform delivers world
// points; the combined transform shown in the command's matrix display) and the statistics label. Measured
// points are raw device coordinates; M maps them to the reference model's own, where the targets, their
// surface points and graphics are kept. Only a placement by a rotation and a shift keeps the model's
// distances, so any other fails the alignment, telling the user.
//
// The host aligner takes paged arrays whose n elements are records 1 to n (host_api/aligner.h): each array
// holds n + 1 records, in pages of the smallest power of two of them that fills 16 KiB.
//
// Main thread only.

#include <memory>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "commands/alignment/iterative/aligner_context.h"
#include "commands/alignment/iterative/closest_point_finder.h"
#include "commands/alignment/iterative/target_data.h"

class IGuiDialog;
class IZelDocObject;
class MatrixWidget;
class TargetGraphics;

class IterativeRealignment {
 public:
  // The dialog control that shows the statistics.
  static constexpr int32_t kStatisticsLabel = 10;
  // The fewest counted targets whose fit is refined onto the reference surface; fewer are fitted as pairs.
  static constexpr int32_t kFirstRefinedCount = 6;
  // The fewest align errors that make statistics.
  static constexpr int32_t kStatisticsMinimum = 3;

  struct Statistics {
    const std::vector<TargetData>* targets = nullptr;
    int32_t minimumCount = kStatisticsMinimum;
    double maximum = 0;
    double mean = 0;
    double standardDeviation = 0;
  };

  // What the realignment works on, all owned by the command and outliving the realignment; graphics,
  // dialog and display may be null.
  struct Parts {
    std::vector<TargetData>* targets = nullptr;
    IZelDocObject* reference = nullptr;
    TargetGraphics* graphics = nullptr;
    IGuiDialog* dialog = nullptr;
    MatrixWidget* display = nullptr;
  };

  // Sets up the aligner and the closest-point finder on the reference; either may be missing, and then
  // every alignment fails (no aligner) or leaves the surface points alone (no finder).
  explicit IterativeRealignment(const Parts& parts);

  // Recomputes everything above; true when an alignment was computed.
  bool updateAlignment();
  // Whether the last updateAlignment computed an alignment.
  bool isAligned() const { return aligned_; }
  // The last alignment computed, M: raw device coordinates to the model's own; the identity before one.
  const Matrix4x4& deviceToModel() const { return deviceToModel_; }
  // What the device gets when no alignment can be computed; the identity until the command sets its own.
  void setNoAlignmentMatrix(const Matrix4x4& matrix) { noAlignment_ = matrix; }

  // M from the targets of context; false, with M the identity, when there is no aligner, fewer than 3
  // counted targets or a fit fails.
  static bool computeAlignment(AlignerContext& context, Matrix4x4& M);
  // The entry's surface point: the reference point nearest to its measured point under M, with the normal;
  // left as it was when the finder finds none.
  void updateSurfacePoint(TargetData& entry, const Matrix4x4& M);
  // Maximum (signed), mean and population standard deviation of the set align errors; false for fewer than
  // the record's minimum count.
  static bool computeStatistics(Statistics& statistics);
  // The three lines of the statistics label: each figure in the user's length unit with the user's decimal
  // places, then the unit's name ("Unknown" without the host's unit service).
  static ZelString statisticsText(const Statistics& statistics);

  AlignerContext* alignerContext() const { return context_.get(); }
  PalperaIterativeAlignmentCmd::ClosestPointFinder* pointFinder() const { return pointFinder_.get(); }

 private:
  void showStatistics(bool aligned);

  Parts parts_;
  std::unique_ptr<AlignerContext> context_;
  std::unique_ptr<PalperaIterativeAlignmentCmd::ClosestPointFinder> pointFinder_;
  Matrix4x4 noAlignment_;
  Matrix4x4 deviceToModel_;
  bool aligned_ = false;
};

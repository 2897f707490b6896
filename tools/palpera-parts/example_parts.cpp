#include "example_parts.h"

#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRep_Builder.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax2.hxx>

#include "host/cad/kernel/brep_kernel.h"

namespace {

// Every plate lies on z = 0 with its top at z = kThickness; through features go from below to above it.
constexpr double kThickness = 0.01;

TopoDS_Shape plate(double x, double y) {
  return BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), gp_Pnt(x, y, kThickness)).Shape();
}

TopoDS_Shape cut(const TopoDS_Shape& from, const TopoDS_Shape& tool) {
  return BRepAlgoAPI_Cut(from, tool).Shape();
}

TopoDS_Shape fuse(const TopoDS_Shape& a, const TopoDS_Shape& b) {
  return BRepAlgoAPI_Fuse(a, b).Shape();
}

// A vertical cylinder through the plate (a little longer than it is thick), whole or as the half on one side
// of the plane through its axis normal to x (angle π).
TopoDS_Shape throughCylinder(double x, double y, double radius, double angle = 2 * M_PI,
                             bool otherHalf = false) {
  const gp_Dir xDir = otherHalf ? gp_Dir(-1, 0, 0) : gp_Dir(1, 0, 0);
  const gp_Ax2 axis(gp_Pnt(x, y, -kThickness), gp_Dir(0, 0, 1), xDir);
  return BRepPrimAPI_MakeCylinder(axis, radius, 3 * kThickness, angle).Shape();
}

TopoDS_Shape throughBox(double x0, double y0, double x1, double y1) {
  return BRepPrimAPI_MakeBox(gp_Pnt(x0, y0, -kThickness), gp_Pnt(x1, y1, 2 * kThickness)).Shape();
}

// A bore of diameter 0.02 cut with two half cylinders, so that its wall is two faces of one cylinder.
TopoDS_Shape cutBore(const TopoDS_Shape& from, double x, double y) {
  return cut(cut(from, throughCylinder(x, y, 0.01, M_PI)), throughCylinder(x, y, 0.01, M_PI, true));
}

// An oval slot along x, 0.042 long overall and 0.012 wide, centred on (x, y).
TopoDS_Shape cutOvalSlot(const TopoDS_Shape& from, double x, double y) {
  TopoDS_Shape slot = fuse(throughCylinder(x - 0.015, y, 0.006), throughCylinder(x + 0.015, y, 0.006));
  return cut(from, fuse(slot, throughBox(x - 0.015, y - 0.006, x + 0.015, y + 0.006)));
}

TopoDS_Shape plateWithBore() {
  return cutBore(plate(0.1, 0.08), 0.05, 0.04);
}

TopoDS_Shape plateWithBoss() {
  const gp_Ax2 axis(gp_Pnt(0.05, 0.04, kThickness), gp_Dir(0, 0, 1));
  return fuse(plate(0.1, 0.08), BRepPrimAPI_MakeCylinder(axis, 0.015, 0.015).Shape());
}

// A boss whose wall and top are free-form (B-spline) surfaces of the same shape as a round boss's, as a
// part's skin mostly is.
TopoDS_Shape plateWithFreeformBoss() {
  const gp_Ax2 axis(gp_Pnt(0.05, 0.04, kThickness), gp_Dir(0, 0, 1));
  const TopoDS_Shape boss = BRepPrimAPI_MakeCylinder(axis, 0.015, 0.015).Shape();
  return fuse(plate(0.1, 0.08), BRepBuilderAPI_NurbsConvert(boss).Shape());
}

// A blind rectangular pocket, half as deep as the plate, whose straight walls meet its floor and the top.
TopoDS_Shape plateWithPocket() {
  const TopoDS_Shape pocket =
      BRepPrimAPI_MakeBox(gp_Pnt(0.03, 0.03, 0.005), gp_Pnt(0.07, 0.05, 0.02)).Shape();
  return cut(plate(0.1, 0.08), pocket);
}

// A bore and a boss side by side, so that one session probes a hole and a pin on the same plate.
TopoDS_Shape plateWithBoreAndBoss() {
  const gp_Ax2 axis(gp_Pnt(0.085, 0.04, kThickness), gp_Dir(0, 0, 1));
  return fuse(cutBore(plate(0.12, 0.08), 0.03, 0.04), BRepPrimAPI_MakeCylinder(axis, 0.015, 0.015).Shape());
}

// A bore and an oval slot side by side, so that one session probes a plane, a bore and a slot on one plate.
TopoDS_Shape plateWithBoreAndSlot() {
  return cutOvalSlot(cutBore(plate(0.12, 0.08), 0.03, 0.04), 0.085, 0.04);
}

TopoDS_Shape plateWithOvalSlot() {
  return cutOvalSlot(plate(0.1, 0.08), 0.05, 0.04);
}

TopoDS_Shape plateWithRectangularSlot() {
  return cut(plate(0.1, 0.08), throughBox(0.03, 0.034, 0.07, 0.046));
}

// A rectangle with rounded corners in the plane z = -thickness, pushed up through the plate.
TopoDS_Shape plateWithRoundedSlot() {
  const double x0 = 0.03, x1 = 0.07, y0 = 0.03, y1 = 0.05, r = 0.004, z = -kThickness;
  const auto p = [z](double x, double y) { return gp_Pnt(x, y, z); };
  const auto arc = [&](double cx, double cy, double from) {
    const gp_Pnt a = p(cx + r * std::cos(from), cy + r * std::sin(from));
    const gp_Pnt m = p(cx + r * std::cos(from + M_PI / 4), cy + r * std::sin(from + M_PI / 4));
    const gp_Pnt b = p(cx + r * std::cos(from + M_PI / 2), cy + r * std::sin(from + M_PI / 2));
    return BRepBuilderAPI_MakeEdge(GC_MakeArcOfCircle(a, m, b).Value()).Edge();
  };
  BRepBuilderAPI_MakeWire wire;
  wire.Add(BRepBuilderAPI_MakeEdge(p(x0 + r, y0), p(x1 - r, y0)).Edge());
  wire.Add(arc(x1 - r, y0 + r, -M_PI / 2));
  wire.Add(BRepBuilderAPI_MakeEdge(p(x1, y0 + r), p(x1, y1 - r)).Edge());
  wire.Add(arc(x1 - r, y1 - r, 0));
  wire.Add(BRepBuilderAPI_MakeEdge(p(x1 - r, y1), p(x0 + r, y1)).Edge());
  wire.Add(arc(x0 + r, y1 - r, M_PI / 2));
  wire.Add(BRepBuilderAPI_MakeEdge(p(x0, y1 - r), p(x0, y0 + r)).Edge());
  wire.Add(arc(x0 + r, y0 + r, M_PI));
  const TopoDS_Face outline = BRepBuilderAPI_MakeFace(wire.Wire()).Face();
  return cut(plate(0.1, 0.08), BRepPrimAPI_MakePrism(outline, gp_Vec(0, 0, 3 * kThickness)).Shape());
}

// A through bore of diameter 8 mm about (x, y) whose top 4 mm widen as a cone, cut by one that reaches 1 mm
// above the top face with the radius given there.
TopoDS_Shape cutCountersink(const TopoDS_Shape& from, double x, double y, double radiusAbove) {
  const gp_Ax2 axis(gp_Pnt(x, y, kThickness - 0.004), gp_Dir(0, 0, 1));
  const TopoDS_Shape cone = BRepPrimAPI_MakeCone(axis, 0.004, radiusAbove, 0.004 + 0.001).Shape();
  return cut(cut(from, throughCylinder(x, y, 0.004)), cone);
}

// A bore of diameter 8 mm whose top 4 mm widen as a 90° cone to 16 mm at the top face.
TopoDS_Shape plateWithCountersink() {
  return cutCountersink(plate(0.1, 0.08), 0.05, 0.04, 0.008 + 0.001);
}

// The two standard countersinks side by side: 90° as in plate-countersink, and 82° (half angle 41°).
TopoDS_Shape plateWithCountersinks() {
  const double halfAngle82 = 41 * M_PI / 180;
  return cutCountersink(cutCountersink(plate(0.12, 0.06), 0.03, 0.03, 0.008 + 0.001), 0.09, 0.03,
                        0.004 + 0.005 * std::tan(halfAngle82));
}

// A rail along x standing on a plate, its two top edges rounded with one radius: two equal fillets whose
// axes lie 5.79 mm apart, alike in all but their place.
TopoDS_Shape plateWithFilletedRail() {
  const double r = 0.003679, y0 = 0.03 - 0.002895 - r, y1 = 0.03 + 0.002895 + r, top = 0.02;
  const auto p = [](double y, double z) { return gp_Pnt(0, y, z); };
  const auto arc = [&](double cy, double from) {
    const auto at = [&](double angle) { return p(cy + r * std::cos(angle), top - r + r * std::sin(angle)); };
    return BRepBuilderAPI_MakeEdge(
               GC_MakeArcOfCircle(at(from), at(from + M_PI / 4), at(from + M_PI / 2)).Value())
        .Edge();
  };
  const std::vector<gp_Pnt> below{p(y0, top - r), p(y0, kThickness),   p(0, kThickness),  p(0, 0),
                                  p(0.06, 0),     p(0.06, kThickness), p(y1, kThickness), p(y1, top - r)};
  BRepBuilderAPI_MakeWire wire;
  for (size_t i = 0; i + 1 < below.size(); ++i)
    wire.Add(BRepBuilderAPI_MakeEdge(below[i], below[i + 1]).Edge());
  wire.Add(arc(y1 - r, 0));
  wire.Add(BRepBuilderAPI_MakeEdge(p(y1 - r, top), p(y0 + r, top)).Edge());
  wire.Add(arc(y0 + r, M_PI / 2));
  const TopoDS_Face outline = BRepBuilderAPI_MakeFace(wire.Wire()).Face();
  return BRepPrimAPI_MakePrism(outline, gp_Vec(0.1, 0, 0)).Shape();
}

TopoDS_Shape sphereOnStand() {
  const TopoDS_Shape stand = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), gp_Pnt(0.04, 0.04, 0.02)).Shape();
  return fuse(stand, BRepPrimAPI_MakeSphere(gp_Pnt(0.02, 0.02, 0.03), 0.015).Shape());
}

TopoDS_Shape plateWithBoltCircle() {
  TopoDS_Shape part = plate(0.12, 0.12);
  for (int i = 0; i < 6; ++i) {
    const double angle = i * M_PI / 3;
    part = cut(part, throughCylinder(0.06 + 0.04 * std::cos(angle), 0.06 + 0.04 * std::sin(angle), 0.004));
  }
  return part;
}

// A wide shaft and a wide conical boss standing on a plate, each 0.06 tall: a few touches around either lie
// within a short stretch of its axis.
TopoDS_Shape plateWithShaftAndCone() {
  const gp_Ax2 shaftAxis(gp_Pnt(0.15, 0.15, kThickness), gp_Dir(0, 0, 1));
  const gp_Ax2 coneAxis(gp_Pnt(0.45, 0.15, kThickness), gp_Dir(0, 0, 1));
  const TopoDS_Shape shaft = BRepPrimAPI_MakeCylinder(shaftAxis, 0.127, 0.06).Shape();
  const TopoDS_Shape cone = BRepPrimAPI_MakeCone(coneAxis, 0.127, 0.112, 0.06).Shape();
  return fuse(fuse(plate(0.6, 0.3), shaft), cone);
}

// A shaft standing on a plate with a coaxial bore in its free end, 10 mm narrower in radius: the two
// cylinders share their axis and differ by their size alone. The plate's side at y = 0 is rounded, the round
// meeting the top face along a line, and one corner is cut off, so that the top face's outline is no slot
// and that edge is a line of its own.
TopoDS_Shape plateWithShaftAndEndBore() {
  const gp_Ax2 shaftAxis(gp_Pnt(0.06, 0.06, kThickness), gp_Dir(0, 0, 1));
  const gp_Ax2 boreAxis(gp_Pnt(0.06, 0.06, 0.03), gp_Dir(0, 0, 1));
  const TopoDS_Shape shaft = BRepPrimAPI_MakeCylinder(shaftAxis, 0.046482, 0.05).Shape();
  const TopoDS_Shape bore = BRepPrimAPI_MakeCylinder(boreAxis, 0.0365125, 0.04).Shape();
  const TopoDS_Wire corner =
      BRepBuilderAPI_MakePolygon(gp_Pnt(0.1, 0.13, -kThickness), gp_Pnt(0.13, 0.1, -kThickness),
                                 gp_Pnt(0.13, 0.13, -kThickness), true)
          .Wire();
  const TopoDS_Shape cornerCut =
      BRepPrimAPI_MakePrism(BRepBuilderAPI_MakeFace(corner).Face(), gp_Vec(0, 0, 3 * kThickness)).Shape();
  const gp_Ax2 roundAxis(gp_Pnt(0, 0, kThickness / 2), gp_Dir(1, 0, 0));
  const TopoDS_Shape round = BRepPrimAPI_MakeCylinder(roundAxis, kThickness / 2, 0.12).Shape();
  return cut(cut(fuse(fuse(plate(0.12, 0.12), round), shaft), bore), cornerCut);
}

// A plate whose front top edge is cut off at 45 degrees, 5 mm each way: a face leaning from the top face by
// half a right angle, above a front face 5 mm tall.
TopoDS_Shape plateWithChamfer(double y) {
  const TopoDS_Wire section = BRepBuilderAPI_MakePolygon(gp_Pnt(-0.01, -0.005, 0), gp_Pnt(-0.01, 0.01, 0.015),
                                                         gp_Pnt(-0.01, -0.005, 0.015), true)
                                  .Wire();
  const TopoDS_Shape edgeCut =
      BRepPrimAPI_MakePrism(BRepBuilderAPI_MakeFace(section).Face(), gp_Vec(0.12, 0, 0)).Shape();
  return cut(plate(0.1, y), edgeCut);
}

// The outside of the plane through a bottom edge (from corner along edge) whose outward normal leans up
// from outward by angle: cut off a block, it leaves a side face leaning inward as it rises.
TopoDS_Shape leaningSideCut(const gp_Pnt& corner, const gp_Dir& edge, const gp_Dir& outward, double angle) {
  const gp_Vec normal = gp_Vec(outward) * std::cos(angle) + gp_Vec(0, 0, std::sin(angle));
  const gp_Dir across = gp_Dir(normal).Crossed(edge);
  const gp_Pnt origin = corner.Translated(-0.5 * gp_Vec(edge) - 0.5 * gp_Vec(across));
  return BRepPrimAPI_MakeBox(gp_Ax2(origin, across, gp_Dir(normal)), 1, 1, 1).Shape();
}

// A block 100 x 80 x 20 mm whose four sides lean inward as they rise, each from square to its bottom by its
// own angle: the front 3 degrees, the right end 20, the back 45 and the left end 69, as a casting's drafts.
TopoDS_Shape blockWithLeaningSides() {
  constexpr double kDegree = M_PI / 180;
  TopoDS_Shape block = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), gp_Pnt(0.1, 0.08, 0.02)).Shape();
  block = cut(block, leaningSideCut(gp_Pnt(0, 0, 0), gp_Dir(1, 0, 0), gp_Dir(0, -1, 0), 3 * kDegree));
  block = cut(block, leaningSideCut(gp_Pnt(0.1, 0, 0), gp_Dir(0, 1, 0), gp_Dir(1, 0, 0), 20 * kDegree));
  block = cut(block, leaningSideCut(gp_Pnt(0, 0.08, 0), gp_Dir(1, 0, 0), gp_Dir(0, 1, 0), 45 * kDegree));
  return cut(block, leaningSideCut(gp_Pnt(0, 0, 0), gp_Dir(0, 1, 0), gp_Dir(-1, 0, 0), 69 * kDegree));
}

// A turned cap: a flange of diameter 0.05 and 0.006 thick about the axis x = y = 0.03, and on it a body 0.02
// tall whose wall is one free-form (B-spline) face with a thread-like ridge: at height z and angle t about
// the axis its radius is 0.015 + 0.0005 cos(t - 2 pi (z - 0.006) / 0.01), a lobe turning once every 10 mm of
// height, gentle enough (curved no tighter than a 5 mm radius) for a 6 mm ball to touch it anywhere.
TopoDS_Shape turnedCap() {
  constexpr double kFlange = 0.006, kHeight = 0.02, kPitch = 0.01, kCentre = 0.03;
  constexpr int kSections = 25, kAround = 24;
  BRepOffsetAPI_ThruSections loft(true, false);
  for (int k = 0; k < kSections; ++k) {
    const double z = kFlange + kHeight * k / (kSections - 1);
    Handle(TColgp_HArray1OfPnt) points = new TColgp_HArray1OfPnt(1, kAround);
    for (int i = 0; i < kAround; ++i) {
      const double t = 2 * M_PI * i / kAround;
      const double r = 0.015 + 0.0005 * std::cos(t - 2 * M_PI * (z - kFlange) / kPitch);
      points->SetValue(i + 1, gp_Pnt(kCentre + r * std::cos(t), kCentre + r * std::sin(t), z));
    }
    GeomAPI_Interpolate section(points, true, 1e-9);
    section.Perform();
    loft.AddWire(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(section.Curve()).Edge()).Wire());
  }
  const gp_Ax2 axis(gp_Pnt(kCentre, kCentre, 0), gp_Dir(0, 0, 1));
  return fuse(BRepPrimAPI_MakeCylinder(axis, 0.025, kFlange).Shape(), loft.Shape());
}

// A prism of the triangle (y, z) corners along x from x0 to x1.
TopoDS_Shape triangularPrism(double x0, double x1, const double (&corners)[3][2]) {
  const TopoDS_Wire section = BRepBuilderAPI_MakePolygon(gp_Pnt(x0, corners[0][0], corners[0][1]),
                                                         gp_Pnt(x0, corners[1][0], corners[1][1]),
                                                         gp_Pnt(x0, corners[2][0], corners[2][1]), true)
                                  .Wire();
  return BRepPrimAPI_MakePrism(BRepBuilderAPI_MakeFace(section).Face(), gp_Vec(x1 - x0, 0, 0)).Shape();
}

// A welded bracket as its seven parts, touching but not fused: a 10 mm base plate whose front top edge is
// chamfered 45 degrees, 5 mm each way, a wall standing on the back of it, two gussets between them, a block
// on the base, a tab on the wall and a foot under the front of the base.
TopoDS_Shape weldedBracket() {
  const double gusset[3][2] = {{0.05, 0.01}, {0.03, 0.01}, {0.05, 0.03}};
  const TopoDS_Shape pieces[] = {
      plateWithChamfer(0.06),
      BRepPrimAPI_MakeBox(gp_Pnt(0, 0.05, 0.01), gp_Pnt(0.1, 0.06, 0.05)).Shape(),
      triangularPrism(0.01, 0.02, gusset),
      triangularPrism(0.08, 0.09, gusset),
      BRepPrimAPI_MakeBox(gp_Pnt(0.04, 0.015, 0.01), gp_Pnt(0.06, 0.03, 0.02)).Shape(),
      BRepPrimAPI_MakeBox(gp_Pnt(0.03, 0.05, 0.05), gp_Pnt(0.07, 0.06, 0.06)).Shape(),
      BRepPrimAPI_MakeBox(gp_Pnt(0, 0.01, -0.005), gp_Pnt(0.1, 0.02, 0)).Shape(),
  };
  BRep_Builder builder;
  TopoDS_Compound bracket;
  builder.MakeCompound(bracket);
  for (const TopoDS_Shape& piece : pieces) builder.Add(bracket, piece);
  return bracket;
}

// A base block 120 x 80 x 10 mm with six cylinders of radius 7 mm standing on it about x = 0.02, 0.06, 0.1
// and y = 0.02, 0.06, each cut off at its top by a plane through its axis at z = 0.04 whose normal leans 19
// degrees from the axis, the k-th (x first) towards the angle 60 k degrees about z from +x.
TopoDS_Shape cylindersWithLeaningCaps() {
  constexpr double kDegree = M_PI / 180, kRadius = 0.007, kLean = 19 * kDegree;
  TopoDS_Shape part = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), gp_Pnt(0.12, 0.08, kThickness)).Shape();
  for (int k = 0; k < 6; ++k) {
    const double x = 0.02 + 0.04 * (k % 3), y = 0.02 + 0.04 * (k / 3), towards = 60 * k * kDegree;
    const gp_Dir normal(std::cos(towards) * std::sin(kLean), std::sin(towards) * std::sin(kLean),
                        std::cos(kLean));
    const gp_Dir across(-std::sin(towards), std::cos(towards), 0);
    const gp_Dir along = normal.Crossed(across);
    const gp_Pnt origin = gp_Pnt(x, y, 0.04).Translated(-0.01 * gp_Vec(across) - 0.01 * gp_Vec(along));
    const TopoDS_Shape above = BRepPrimAPI_MakeBox(gp_Ax2(origin, normal, across), 0.02, 0.02, 0.02).Shape();
    const gp_Ax2 axis(gp_Pnt(x, y, kThickness), gp_Dir(0, 0, 1));
    part = fuse(part, cut(BRepPrimAPI_MakeCylinder(axis, kRadius, 0.04).Shape(), above));
  }
  return part;
}

const std::map<std::string, std::function<TopoDS_Shape()>>& parts() {
  static const std::map<std::string, std::function<TopoDS_Shape()>> all = {
      {"plate-bore", plateWithBore},
      {"plate-boss", plateWithBoss},
      {"plate-freeform-boss", plateWithFreeformBoss},
      {"plate-pocket", plateWithPocket},
      {"plate-bore-boss", plateWithBoreAndBoss},
      {"plate-bore-slot", plateWithBoreAndSlot},
      {"plate-oval-slot", plateWithOvalSlot},
      {"plate-rectangular-slot", plateWithRectangularSlot},
      {"plate-rounded-slot", plateWithRoundedSlot},
      {"plate-countersink", plateWithCountersink},
      {"plate-countersinks", plateWithCountersinks},
      {"plate-filleted-rail", plateWithFilletedRail},
      {"sphere-on-stand", sphereOnStand},
      {"plate-bolt-circle", plateWithBoltCircle},
      {"wide-shaft-cone", plateWithShaftAndCone},
      {"plate-shaft-bore", plateWithShaftAndEndBore},
      {"plate-chamfer", [] { return plateWithChamfer(0.08); }},
      {"workpiece-leaning-sides", blockWithLeaningSides},
      {"workpiece-welded-bracket", weldedBracket},
      {"workpiece-leaning-caps", cylindersWithLeaningCaps},
      {"turned-cap", turnedCap},
  };
  return all;
}

}  // namespace

std::vector<std::string> examplePartNames() {
  std::vector<std::string> names;
  for (const auto& [name, make] : parts()) names.push_back(name);
  return names;
}

void writeExamplePart(const std::string& name, const std::string& dir) {
  const auto part = parts().find(name);
  if (part == parts().end()) throw std::invalid_argument("no example part '" + name + "'");
  silenceKernelMessages();
  writeStepFile(part->second(), dir + "/" + name + ".step", name);
}

std::shared_ptr<const BrepModel> examplePartModel(const std::string& name) {
  const auto part = parts().find(name);
  if (part == parts().end()) throw std::invalid_argument("no example part '" + name + "'");
  silenceKernelMessages();
  return modelOfShape(part->second(), name);
}

std::shared_ptr<const BrepModel> blockGridModel(int faces) {
  silenceKernelMessages();
  BRep_Builder builder;
  TopoDS_Compound grid;
  builder.MakeCompound(grid);
  const int blocks = faces * 2 / 9;  // a box and a cylinder: 9 faces per pair
  const int side = static_cast<int>(std::ceil(std::sqrt(blocks)));
  for (int i = 0; i < blocks; ++i) {
    const double x = 0.02 * (i % side), y = 0.02 * (i / side);
    if (i % 2 == 0) {
      builder.Add(grid, BRepPrimAPI_MakeBox(gp_Pnt(x, y, 0), gp_Pnt(x + 0.01, y + 0.01, 0.01)).Shape());
    } else {
      const gp_Ax2 axis(gp_Pnt(x + 0.005, y + 0.005, 0), gp_Dir(0, 0, 1));
      builder.Add(grid, BRepPrimAPI_MakeCylinder(axis, 0.005, 0.01).Shape());
    }
  }
  return modelOfShape(grid, "block grid");
}

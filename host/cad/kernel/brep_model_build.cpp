// Building a BrepModel from a shape: numbering, analytic surfaces and curves, same-surface groups, boxes for
// the closest-point search and the tessellation.

#include <algorithm>
#include <cmath>
#include <map>

#include <BRepBndLib.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <BRepTools_WireExplorer.hxx>
#include <BRep_Tool.hxx>
#include <BndLib_Add3dCurve.hxx>
#include <Poly_Triangulation.hxx>
#include <Precision.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Circ.hxx>
#include <gp_Cone.hxx>
#include <gp_Cylinder.hxx>
#include <gp_Lin.hxx>
#include <gp_Pln.hxx>
#include <gp_Sphere.hxx>
#include <gp_Torus.hxx>

#include "host/cad/kernel/brep_kernel.h"
#include "host/cad/kernel/step_text.h"

namespace {

using Point = BrepModel::Point;

// Geometry equal within this (metres, or radians for directions) is the same surface.
constexpr double kSameTolerance = 1e-7;
// The tessellation's chord deviation, against the model's diagonal, and its angular deviation in radians.
constexpr double kRelativeDeflection = 1e-3;
constexpr double kAngularDeflection = 0.35;
// A triangle whose area is this small against its longest edge squared is left out of the tessellation.
constexpr double kDegenerateRatio = 1e-12;
// A measured part lies within this many metres of its model's origin: the devices reach a few metres, and a
// model that places a part in a whole plant or hull within hundreds. A face beyond comes of a wrong unit or
// of a number out of all measure, and the kernel's mesher spins for good on such sizes.
constexpr double kFarthestReach = 1000;

Point pointOf(const gp_XYZ& xyz) {
  return {xyz.X(), xyz.Y(), xyz.Z()};
}

gp_XYZ xyzOf(const Point& p) {
  return gp_XYZ(p[0], p[1], p[2]);
}

BrepModel::Surface surfaceOf(const BRepAdaptor_Surface& adaptor, bool reversed) {
  BrepModel::Surface s;
  switch (adaptor.GetType()) {
    case GeomAbs_Plane: {
      const gp_Pln plane = adaptor.Plane();
      gp_XYZ normal = plane.Axis().Direction().XYZ();
      // The plane's own normal is its position's; a direct frame keeps the surface normal (D1U x D1V) along
      // it.
      if (!plane.Direct()) normal.Reverse();
      if (reversed) normal.Reverse();
      s = {BrepModel::SurfaceKind::plane, pointOf(plane.Location().XYZ()), pointOf(normal), 0, 0};
      break;
    }
    case GeomAbs_Cylinder: {
      const gp_Cylinder c = adaptor.Cylinder();
      s = {BrepModel::SurfaceKind::cylinder, pointOf(c.Location().XYZ()), pointOf(c.Axis().Direction().XYZ()),
           c.Radius(), 0};
      break;
    }
    case GeomAbs_Cone: {
      const gp_Cone c = adaptor.Cone();
      s = {BrepModel::SurfaceKind::cone, pointOf(c.Location().XYZ()), pointOf(c.Axis().Direction().XYZ()),
           c.RefRadius(), c.SemiAngle()};
      break;
    }
    case GeomAbs_Sphere: {
      const gp_Sphere c = adaptor.Sphere();
      s = {BrepModel::SurfaceKind::sphere, pointOf(c.Location().XYZ()),
           pointOf(c.Position().Direction().XYZ()), c.Radius(), 0};
      break;
    }
    case GeomAbs_Torus: {
      const gp_Torus c = adaptor.Torus();
      s = {BrepModel::SurfaceKind::torus, pointOf(c.Location().XYZ()), pointOf(c.Axis().Direction().XYZ()),
           c.MajorRadius(), c.MinorRadius()};
      break;
    }
    default:
      break;
  }
  return s;
}

BrepModel::Curve curveOf(const BRepAdaptor_Curve& adaptor) {
  BrepModel::Curve c;
  if (adaptor.GetType() == GeomAbs_Line) {
    const gp_Lin line = adaptor.Line();
    c = {BrepModel::CurveKind::line,
         pointOf(line.Location().XYZ()),
         pointOf(line.Direction().XYZ()),
         0,
         {},
         {}};
  } else if (adaptor.GetType() == GeomAbs_Circle) {
    const gp_Circ circle = adaptor.Circle();
    c = {BrepModel::CurveKind::circle,
         pointOf(circle.Location().XYZ()),
         pointOf(circle.Axis().Direction().XYZ()),
         circle.Radius(),
         {},
         {}};
  }
  c.start = pointOf(adaptor.Value(adaptor.FirstParameter()).XYZ());
  c.end = pointOf(adaptor.Value(adaptor.LastParameter()).XYZ());
  return c;
}

bool near(double a, double b) {
  return std::abs(a - b) <= kSameTolerance;
}

bool sameDirection(const gp_XYZ& a, const gp_XYZ& b) {
  return a.Crossed(b).Modulus() <= kSameTolerance;
}

// Whether point p lies on the line through origin along the unit axis.
bool onAxis(const gp_XYZ& p, const gp_XYZ& origin, const gp_XYZ& axis) {
  return (p - origin).Crossed(axis).Modulus() <= kSameTolerance;
}

// Two faces lie on one surface when their analytic surfaces coincide; "other" surfaces only when they share
// the kernel's surface object.
bool sameSurface(const BrepModel::Kernel& k, size_t a, size_t b) {
  const BrepModel::Surface &s = k.surfaces[a], &t = k.surfaces[b];
  if (s.kind != t.kind) return false;
  const gp_XYZ so = xyzOf(s.origin), to = xyzOf(t.origin), sa = xyzOf(s.axis), ta = xyzOf(t.axis);
  switch (s.kind) {
    case BrepModel::SurfaceKind::plane:
      return sa.Dot(ta) > 0 && sameDirection(sa, ta) && near((to - so).Dot(sa), 0);
    case BrepModel::SurfaceKind::cylinder:
      return near(s.radius, t.radius) && sameDirection(sa, ta) && onAxis(to, so, sa);
    case BrepModel::SurfaceKind::cone: {
      // Compare the apexes, which do not depend on where along the axis each origin was put.
      const gp_XYZ sApex = so - sa * (s.radius / std::tan(s.minor));
      const gp_XYZ tApex = to - ta * (t.radius / std::tan(t.minor));
      return near(s.minor, t.minor) && sa.Dot(ta) > 0 && sameDirection(sa, ta) &&
             (sApex - tApex).Modulus() <= kSameTolerance;
    }
    case BrepModel::SurfaceKind::sphere:
      return near(s.radius, t.radius) && (so - to).Modulus() <= kSameTolerance;
    case BrepModel::SurfaceKind::torus:
      return near(s.radius, t.radius) && near(s.minor, t.minor) && sameDirection(sa, ta) &&
             (so - to).Modulus() <= kSameTolerance;
    case BrepModel::SurfaceKind::other:
      return BRep_Tool::Surface(k.faces[a].face) == BRep_Tool::Surface(k.faces[b].face);
  }
  return false;
}

// Faces are bucketed by kind and rounded radius first, so that only likely pairs are compared.
void groupSameSurfaces(BrepModel::Kernel& k) {
  std::map<std::pair<int32_t, long long>, std::vector<uint32_t>> buckets;
  for (uint32_t i = 0; i < k.surfaces.size(); ++i) {
    const BrepModel::Surface& s = k.surfaces[i];
    buckets[{static_cast<int32_t>(s.kind), std::llround(s.radius / (100 * kSameTolerance))}].push_back(i);
  }
  k.groups.assign(k.surfaces.size(), {});
  std::vector<bool> grouped(k.surfaces.size(), false);
  for (auto& [key, members] : buckets) {
    for (size_t a = 0; a < members.size(); ++a) {
      if (grouped[members[a]]) continue;
      std::vector<uint32_t> group{members[a] + 1};
      for (size_t b = a + 1; b < members.size(); ++b) {
        if (!grouped[members[b]] && sameSurface(k, members[a], members[b])) {
          group.push_back(members[b] + 1);
          grouped[members[b]] = true;
        }
      }
      for (uint32_t face : group) k.groups[face - 1] = group;
    }
  }
}

// An empty box lies beyond every point.
BrepModel::Kernel::Box boxOf(const Bnd_Box& box) {
  BrepModel::Kernel::Box b{HUGE_VAL, HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  if (!box.IsVoid()) box.Get(b[0], b[1], b[2], b[3], b[4], b[5]);
  return b;
}

bool degenerate(const gp_XYZ& a, const gp_XYZ& b, const gp_XYZ& c) {
  const double longest =
      std::max({(b - a).SquareModulus(), (c - b).SquareModulus(), (a - c).SquareModulus()});
  return (b - a).Crossed(c - a).Modulus() <= kDegenerateRatio * longest;
}

void tessellate(BrepModel::Kernel& k, double diagonal) {
  BRepMesh_IncrementalMesh mesher(k.shape, kRelativeDeflection * diagonal, false, kAngularDeflection, false);
  BrepModel::Tessellation& t = k.tessellation;
  for (uint32_t id = 1; id <= k.faces.size(); ++id) {
    const BrepModel::Kernel::Face& face = k.faces[id - 1];
    TopLoc_Location location;
    const Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(face.face, location);
    if (triangulation.IsNull()) continue;
    const int32_t first = static_cast<int32_t>(t.vertices.size());
    for (int i = 1; i <= triangulation->NbNodes(); ++i) {
      t.vertices.push_back(pointOf(triangulation->Node(i).Transformed(location.Transformation()).XYZ()));
    }
    for (int i = 1; i <= triangulation->NbTriangles(); ++i) {
      int a, b, c;
      triangulation->Triangle(i).Get(a, b, c);
      if (face.reversed) std::swap(b, c);
      std::array<int32_t, 3> corners{first + a - 1, first + b - 1, first + c - 1};
      if (degenerate(xyzOf(t.vertices[corners[0]]), xyzOf(t.vertices[corners[1]]),
                     xyzOf(t.vertices[corners[2]])))
        continue;
      t.triangles.push_back(corners);
      t.triangleFaces.push_back(id);
    }
  }
}

void addFaces(BrepModel::Kernel& k) {
  for (int i = 1; i <= k.faceMap.Extent(); ++i) {
    BrepModel::Kernel::Face face;
    face.face = TopoDS::Face(k.faceMap(i));
    face.surface.Initialize(face.face, true);
    face.classifier = std::make_unique<BRepTopAdaptor_FClass2d>(face.face, Precision::PConfusion());
    face.reversed = face.face.Orientation() == TopAbs_REVERSED;
    const TopoDS_Wire outer = BRepTools::OuterWire(face.face);
    for (TopExp_Explorer wire(face.face, TopAbs_WIRE); wire.More(); wire.Next()) {
      std::vector<uint32_t> loop;
      for (BRepTools_WireExplorer edge(TopoDS::Wire(wire.Current()), face.face); edge.More(); edge.Next()) {
        loop.push_back(static_cast<uint32_t>(k.edgeMap.FindIndex(edge.Current())));
      }
      // The outer boundary first: the loops after it are the face's holes.
      if (wire.Current().IsSame(outer)) {
        face.loops.insert(face.loops.begin(), std::move(loop));
      } else {
        face.loops.push_back(std::move(loop));
      }
    }
    Bnd_Box box;
    BRepBndLib::AddOptimal(face.face, box, false, false);
    face.box = boxOf(box);
    k.surfaces.push_back(surfaceOf(face.surface, face.reversed));
    k.faces.push_back(std::move(face));
  }
}

void addEdges(BrepModel::Kernel& k) {
  TopTools_IndexedDataMapOfShapeListOfShape facesOfEdges;
  TopExp::MapShapesAndAncestors(k.shape, TopAbs_EDGE, TopAbs_FACE, facesOfEdges);
  for (int i = 1; i <= k.edgeMap.Extent(); ++i) {
    const TopoDS_Edge& edge = TopoDS::Edge(k.edgeMap(i));
    BrepModel::Kernel::Edge data;
    data.degenerated = BRep_Tool::Degenerated(edge);
    std::array<uint32_t, 2> sides{0, 0};
    if (const TopTools_ListOfShape* faces = facesOfEdges.Seek(edge)) {
      size_t side = 0;
      for (const TopoDS_Shape& face : *faces) {
        if (side < 2) sides[side++] = static_cast<uint32_t>(k.faceMap.FindIndex(face));
      }
      if (side == 1) sides[1] = sides[0];  // a seam: the face lies on both sides
      for (uint32_t face : sides) {
        std::vector<uint32_t>& edges = k.faces[face - 1].edges;
        if (face && std::find(edges.begin(), edges.end(), i) == edges.end()) edges.push_back(i);
      }
    }
    k.edgeFaces.push_back(sides);
    if (!data.degenerated) {
      data.curve.Initialize(edge);
      Bnd_Box box;
      BndLib_Add3dCurve::AddOptimal(data.curve, BRep_Tool::Tolerance(edge), box);
      data.box = boxOf(box);
      k.curves.push_back(curveOf(data.curve));
    } else {
      k.curves.push_back({});
    }
    k.edges.push_back(std::move(data));
  }
}

// Refuses a face the kernel gives no finite box, or one that lies beyond any part, before anything meshes
// it.
void checkReach(const BrepModel::Kernel& k, const std::string& what, const FaceNames& faceNames) {
  for (uint32_t id = 1; id <= k.faces.size(); ++id) {
    const BrepModel::Kernel::Box& b = k.faces[id - 1].box;
    const auto name = [&] {
      return faceNames ? faceNames(k.faces[id - 1].face, id) : "face " + std::to_string(id);
    };
    const bool bounded = std::all_of(b.begin(), b.end(), [](double v) { return std::isfinite(v); });
    if (!bounded || b[0] > b[3] || b[1] > b[4] || b[2] > b[5])
      throw CadFileError(what, name() + " has no extent the CAD kernel can bound");
    double reach = 0;
    for (double v : b) reach = std::max(reach, std::abs(v));
    if (reach > kFarthestReach)
      throw CadFileError(what, name() + " reaches " + shortest(reach) + " m from the origin, beyond the " +
                                   shortest(kFarthestReach) + " m within which a measured part lies");
  }
}

}  // namespace

std::shared_ptr<const BrepModel> modelOfShape(const TopoDS_Shape& shape, const std::string& what,
                                              const FaceNames& faceNames) {
  auto k = std::make_unique<BrepModel::Kernel>();
  k->shape = shape;
  TopExp::MapShapes(shape, TopAbs_FACE, k->faceMap);
  TopExp::MapShapes(shape, TopAbs_EDGE, k->edgeMap);
  TopTools_IndexedMapOfShape solids;
  TopExp::MapShapes(shape, TopAbs_SOLID, solids);
  k->solids = static_cast<uint32_t>(solids.Extent());
  if (k->faceMap.IsEmpty()) throw CadFileError(what, "holds no solid or face");
  addFaces(*k);
  checkReach(*k, what, faceNames);
  addEdges(*k);
  groupSameSurfaces(*k);
  std::vector<BoxTree::Box> faceBoxes, edgeBoxes;
  for (const BrepModel::Kernel::Face& face : k->faces) faceBoxes.push_back(face.box);
  for (const BrepModel::Kernel::Edge& edge : k->edges) edgeBoxes.push_back(edge.box);
  k->faceTree = BoxTree(std::move(faceBoxes));
  k->edgeTree = BoxTree(std::move(edgeBoxes));

  double x0 = HUGE_VAL, y0 = HUGE_VAL, z0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL, z1 = -HUGE_VAL;
  for (const BrepModel::Kernel::Face& face : k->faces) {
    const BrepModel::Kernel::Box& b = face.box;
    x0 = std::min(x0, b[0]), y0 = std::min(y0, b[1]), z0 = std::min(z0, b[2]);
    x1 = std::max(x1, b[3]), y1 = std::max(y1, b[4]), z1 = std::max(z1, b[5]);
  }
  k->bounds = {Point{x0, y0, z0}, Point{x1, y1, z1}};
  tessellate(*k, gp_XYZ(x1 - x0, y1 - y0, z1 - z0).Modulus());
  return std::make_shared<const BrepModel>(std::move(k));
}

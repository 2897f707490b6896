#pragma once

// The kernel's side of BrepModel: what it keeps of a shape so that queries need no set-up. Only the kernel's
// own sources (host/cad/kernel/) include this header, since it pulls in the kernel's headers.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepTopAdaptor_FClass2d.hxx>
#include <Bnd_Box.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include "host/cad/brep_model.h"
#include "host/cad/kernel/box_tree.h"

struct BrepModel::Kernel {
  using Box = BoxTree::Box;

  struct Face {
    TopoDS_Face face;
    BRepAdaptor_Surface surface;
    std::unique_ptr<BRepTopAdaptor_FClass2d> classifier;
    Box box{};
    bool reversed = false;
    std::vector<uint32_t> edges;
    std::vector<std::vector<uint32_t>> loops;
  };
  struct Edge {
    BRepAdaptor_Curve curve;
    Box box{};
    bool degenerated = false;
  };

  TopoDS_Shape shape;
  uint32_t solids = 0;
  TopTools_IndexedMapOfShape faceMap;
  TopTools_IndexedMapOfShape edgeMap;
  // Indexed by id - 1.
  std::vector<Face> faces;
  std::vector<Edge> edges;
  std::vector<Surface> surfaces;
  std::vector<Curve> curves;
  std::vector<std::array<uint32_t, 2>> edgeFaces;
  std::vector<std::vector<uint32_t>> groups;
  // Over the faces' and the edges' boxes, by index (id - 1).
  BoxTree faceTree;
  BoxTree edgeTree;
  Tessellation tessellation;
  std::array<Point, 2> bounds{};
  // Taken by every query that evaluates the surfaces or curves.
  mutable std::mutex turn;
};

// The kernel counts lengths in millimetres unless told otherwise; its STEP reader and writer take the unit
// the shapes are in as this many millimetres, so that files in any unit come in, and go out, in metres.
inline constexpr double kMetreInMillimetres = 1000.0;

// What names a face of a shape to the user, by the face and its id in the model.
using FaceNames = std::function<std::string(const TopoDS_Face& face, uint32_t id)>;

// The model of a shape: its faces and edges numbered as the kernel's maps number them, their surfaces, the
// same-surface groups and the tessellation. Throws CadFileError(what) when the shape has no face, or when
// it is no size of a part (brep_model_build.cpp), naming the face at fault by faceNames ("face 3" by its id
// without them).
std::shared_ptr<const BrepModel> modelOfShape(const TopoDS_Shape& shape, const std::string& what,
                                              const FaceNames& faceNames = {});

// Keeps the kernel's message printers off standard output; call before the kernel reports anything.
void silenceKernelMessages();

// Writes the shape, in metres, as a STEP file (AP214) that declares metres and whose bytes depend on the
// shape alone: the header's name and time stamp are fixed, so that rewriting an unchanged part changes
// nothing. Throws CadFileError when it cannot.
void writeStepFile(const TopoDS_Shape& shape, const std::string& path, const std::string& name);

#pragma once

// The host's CAD models: the boundary representation behind a CAD object's surface model ("SurfModel"), its
// topology (faces and edges, numbered from 1), and the two services that find closest points on it, the
// sparse tolerancer and the distance evaluator.
//
// Units and frame. Lengths are metres, whatever unit the model's file was written in. Every CAD query takes
// and answers coordinates in the model's own frame, the coordinates of its document object: the
// tolerancer's query points and closest points, the topology's points, parameters and edge polylines, the
// nominal features the host's face and edge fitters recreate from the model (kHostCadFaceFitterClassId,
// kHostCadEdgeFitterClassId), and the surface model's mesh (zel_mesh.h). The object's world transform
// (IGenGfxService::worldTransform) places that frame in the world, where the devices report their points
// and a command's own features lie: a caller maps a world point into the model's frame before it asks, and
// maps what it is answered back. A placement that is not a rotation and a shift changes distances, so a
// closest point in the model's frame is then no closest point in the world.
//
// One frame rule for every command: the whole device transform (object x hardware x scale) takes raw device
// points to the world, where the document shows the reference. A device-to-part alignment therefore aligns
// the device to the part where it stands: what it takes from the model (reference planes, targets and their
// surface points, nominal features) is placed in the world by the reference's transform, and the hardware
// matrix is solved so that the whole device transform, with the object matrix and the scale as they are,
// delivers world points. The object matrix stays the user's software transform, with the host's alignments
// of the reference folded in.
//
// A model's elements, as the tolerancer reports them, number its faces first (1 to the face count) and then
// its edges; faceIdOf and edgeIdOf turn an element back into a face or an edge.

#include <cstdint>

#include "host_api/zel_mesh.h"
#include "host_api/zel_unknown.h"

class BitVector;
class RealPArray;
class IToleranceDistanceEvaluator;

// Names one model for the tolerancer; valid while the model lives.
using ZelToleranceHandle = const void*;

enum class ZelSurfaceKind : int32_t { plane = 0, cylinder, cone, sphere, torus, other };
enum class ZelCurveKind : int32_t { line = 0, circle, other };

class IZelCadTolerance : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCadTolerance";
  virtual ZelToleranceHandle toleranceHandle() = 0;
};

// What the tolerancer and the evaluator are given of a model.
class IZelCadSurfaceData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCadSurfaceData";
  virtual IZelCadTolerance* tolerance() = 0;
};

class IZelCadTopology : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCadTopology";

  virtual uint32_t faceCount() = 0;
  virtual uint32_t edgeCount() = 0;
  // "other" for an id that names no face or edge.
  virtual ZelSurfaceKind surfaceKind(uint32_t face) = 0;
  virtual ZelCurveKind curveKind(uint32_t edge) = 0;
  // The face on side 0 or 1 of an edge (a seam has its face on both); 0 for none.
  virtual uint32_t edgeFace(uint32_t edge, int32_t side) = 0;
  // Sets the bit of every face on the same surface as face, itself included (a bore split in halves is one
  // cylinder), growing faces as needed; false, with faces untouched, for an id that names no face.
  virtual bool sameSurfaceFaces(uint32_t face, BitVector& faces) = 0;
  // Appends samples + 1 points along the edge, start to end, to points; false for no edge or no samples.
  virtual bool edgePolyline(uint32_t edge, int32_t samples, RealPArray* points) = 0;
  // The surface parameters (u, v) of the face's surface at the point nearest to point; parameter comes in
  // with the caller's starting value. False, with parameter untouched, for no face.
  virtual bool parameterOf(uint32_t face, const double point[3], double parameter[2]) = 0;
  // The point of the face's surface at a parameter; false, with point untouched, for no face.
  virtual bool evaluate(uint32_t face, double point[3], const double parameter[2]) = 0;
};

class IZelCadModel : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCadModel";

  virtual IZelCadSurfaceData* surfaceData() = 0;
  virtual IZelCadTopology* topology() = 0;
  // The face or edge an element (1-based) stands for; 0 when it is of the other kind or none.
  virtual uint32_t faceIdOf(uint32_t element) = 0;
  virtual uint32_t edgeIdOf(uint32_t element) = 0;
  // The location on the model's surface model of a point on the face of element: an element of that mesh
  // lying on the face, with the face's surface parameters at the point in u and v. False for an element
  // that is no face.
  virtual bool locate(uint32_t element, const double point[3], ZelMeshLocation* location) = 0;
  // The exact point and unit normal (out of the material) at a location locate gave; as IZelMeshExt's.
  virtual bool evaluate(const ZelMeshLocation& location, double point[3], double normal[3]) = 0;
};

// What a feature recreated from a CAD model by the host's face or edge fitter was made of, read from the
// record the fitter left on it ("<Construction>"): its entities, which are the one surface a face's feature
// stands for, or the plane and the edges of the loop (or the lone edge) an edge's feature outlines; and the
// faces and edges among them (bits numbered as the ids).
class IZelCadRecreationRecord : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCadRecreationRecord";

  virtual int32_t entityCount() = 0;
  virtual const BitVector& faces() = 0;
  virtual const BitVector& edges() = 0;
};

// The number by which fitters find a document object's CAD model (the fitters' "<CAD Model>").
class IZelObjectModelId : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectModelId";
  virtual int32_t modelId() = 0;
};

// Finds the closest points of a model to query points. Each lookup hands out a fresh tolerancer, set up for
// one model at a time.
class ISparseTolerancer : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ISparseTolerancer";

  // Takes the model to search; the two flags ask for its faces and its edges. False for data the host
  // cannot search.
  virtual bool setSurfaceData(IZelCadSurfaceData* data, int32_t faces, int32_t edges) = 0;

  // The configuration side. The handle must be that of the surface data set; the flag 1 makes it current.
  virtual bool setToleranceHandle(ZelToleranceHandle handle, int32_t flag) = 0;
  // 1: report the closest point itself, not only the element.
  virtual void setOption(int32_t on) = 0;
  // The evaluator computes the exact distances; without one, nothing is found.
  virtual void setEvaluator(IToleranceDistanceEvaluator* evaluator) = 0;

  // Takes the selected entries (bits numbered as the entries, from 1) of points as the queries, and finds
  // the candidate elements of each. False without surface data, handle or evaluator.
  virtual bool run(RealPArray* points, const BitVector& selection) = 0;
  // The two evaluation steps: the closest point on the faces, then on the edges, of every query.
  virtual bool evaluateFaces() = 0;
  virtual bool evaluateEdges() = 0;
  // The results, in the order found: the face result of every query, then the edge result of every query
  // (a model without edges has none). Element indexes and closest points (three floats each),
  // resultCount() of each, valid until the next run.
  virtual int32_t resultCount() = 0;
  virtual const uint32_t* resultElements() = 0;
  virtual const float* resultPoints() = 0;
};

// Measures exact distances to a model for the tolerancer. Each lookup hands out a fresh evaluator.
class IToleranceDistanceEvaluator : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IToleranceDistanceEvaluator";
  // False for data the host cannot measure.
  virtual bool setSurfaceData(IZelCadSurfaceData* data) = 0;
};

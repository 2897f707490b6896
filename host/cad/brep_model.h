#pragma once

// A boundary-representation CAD model, as the stand-in host's CAD kernel holds it, in metres whatever unit
// its file was written in: faces and edges numbered
// from 1, the exact surface under each face and curve under each edge, and a tessellation for picking and
// drawing. The kernel itself stays behind this header, so code that uses a model does not compile against it.
//
// A model does not change once made; every query is const and safe on any thread (the kernel's evaluators
// keep caches, so the queries that reach them take turns).

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class BrepModel {
 public:
  using Point = std::array<double, 3>;

  enum class SurfaceKind : int32_t { plane, cylinder, cone, sphere, torus, other };
  enum class CurveKind : int32_t { line, circle, other };

  // The analytic surface under a face. The axis is a unit vector: the plane's normal pointing out of the
  // material, the axis of a cylinder, cone or torus (a cone widens along it). origin: a point of the plane, a
  // point of the axis (a cone's at radius), the centre of a sphere or torus. radius: of the cylinder, of the
  // cone at origin, of the sphere, the torus's major radius; minor: the torus's minor radius, the cone's
  // half angle in radians.
  struct Surface {
    SurfaceKind kind = SurfaceKind::other;
    Point origin{};
    Point axis{};
    double radius = 0;
    double minor = 0;
  };

  // The curve under an edge, from start to end. A circle: its centre (origin), unit axis and radius; a line:
  // its unit direction in axis.
  struct Curve {
    CurveKind kind = CurveKind::other;
    Point origin{};
    Point axis{};
    double radius = 0;
    Point start{};
    Point end{};
  };

  // Triangles wound so that their normals (right-hand rule) point out of the material; each belongs to a
  // face.
  struct Tessellation {
    std::vector<Point> vertices;
    std::vector<std::array<int32_t, 3>> triangles;
    std::vector<uint32_t> triangleFaces;
  };

  // A point of a face with its surface parameters.
  struct FacePoint {
    uint32_t face = 0;
    Point point{};
    std::array<double, 2> parameter{};
  };

  struct EdgePoint {
    uint32_t edge = 0;
    Point point{};
  };

  struct Kernel;  // the kernel's own data, defined where the kernel is compiled

  explicit BrepModel(std::unique_ptr<Kernel> kernel);
  BrepModel(const BrepModel&) = delete;
  BrepModel& operator=(const BrepModel&) = delete;
  ~BrepModel();

  uint32_t solidCount() const;
  uint32_t faceCount() const;
  uint32_t edgeCount() const;
  // Ids outside 1..count answer the default value (an "other" surface or curve, no faces, an empty list).
  const Surface& surface(uint32_t face) const;
  const Curve& curve(uint32_t edge) const;
  // The faces on the two sides of an edge (the same face twice for a seam; 0 for a missing side).
  std::array<uint32_t, 2> edgeFaces(uint32_t edge) const;
  // The faces lying on the same surface as the face, itself included, in increasing order.
  const std::vector<uint32_t>& sameSurfaceFaces(uint32_t face) const;
  // The edges bounding a face, and its loops (its outer boundary first, then each hole), each in order
  // around it.
  const std::vector<uint32_t>& faceEdges(uint32_t face) const;
  const std::vector<std::vector<uint32_t>>& loops(uint32_t face) const;
  // samples + 1 points along the edge from its start to its end, evenly in its parameter.
  std::vector<Point> polyline(uint32_t edge, int32_t samples) const;
  const Tessellation& tessellation() const;
  // The model's axis-aligned bounding box: minimum then maximum corner.
  std::array<Point, 2> bounds() const;

  // The closest point of the model's faces to p (none only for a model without faces). Of faces equally
  // near, as where solids touch, the one whose outside p is on.
  std::optional<FacePoint> closestOnFaces(const Point& p) const;
  // The closest point of the model's edges to p, leaving out an edge with one surface on both sides (a
  // seam), which bounds nothing; none for a model without other edges.
  std::optional<EdgePoint> closestOnEdges(const Point& p) const;
  // The closest point of one face to p.
  std::optional<FacePoint> closestOnFace(uint32_t face, const Point& p) const;
  // The surface parameters of the face's surface at the point closest to p, on a seam or at an apex too.
  std::optional<std::array<double, 2>> parameterOf(uint32_t face, const Point& p) const;
  // The face's surface at a parameter: the point and the unit normal pointing out of the material.
  bool evaluate(uint32_t face, const std::array<double, 2>& parameter, Point& point, Point& normal) const;

  const Kernel& kernel() const { return *kernel_; }

 private:
  // closestOnFace, with the kernel's turn already taken.
  std::optional<FacePoint> nearestOnFace(uint32_t face, const Point& p) const;

  std::unique_ptr<Kernel> kernel_;
};

// A file (or shape) the kernel cannot make a model of. The message names it and says what is wrong with it;
// reason() is the second part alone.
class CadFileError : public std::runtime_error {
 public:
  CadFileError(const std::string& what, const std::string& reason)
      : std::runtime_error(what + ": " + reason), reason_(reason) {}
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

// A STEP file's model, in metres, and the length units the file declares for its solids (such as
// "millimetre" or "INCH"; several are listed with commas between them, each once, and "none" stands for a
// file that declares none, whose lengths are taken as metres), with what the model lacks of the file (the
// faces the kernel dropped), a sentence each.
struct StepModel {
  std::shared_ptr<const BrepModel> model;
  std::string lengthUnits;
  bool metresAssumed = false;
  std::vector<std::string> warnings;
};

// How long the CAD kernel may take to read a STEP file before the host gives up on it.
inline constexpr std::chrono::milliseconds kCadReadingTimeLimit = std::chrono::seconds(60);

// Reads the solids (or, without solids, the faces) of a STEP file, scaled from the unit it declares to
// metres. Throws CadFileError for a file that is missing, not a regular file, not STEP, that defines an
// entity twice, holds no face or only faces the kernel drops, whose length or plane angle unit cannot be
// resolved or is not one, whose model is no size of a part, or that the kernel does not read and build a
// model of within timeLimit. The kernel reads the file and builds its model in a child process, which ends
// with the call, whatever happens.
StepModel readStepModel(const std::string& path, std::chrono::milliseconds timeLimit = kCadReadingTimeLimit);
// The solid box between two corners, each coordinate of the first below the second's (else
// std::invalid_argument).
std::shared_ptr<const BrepModel> boxModel(const BrepModel::Point& minimum, const BrepModel::Point& maximum);

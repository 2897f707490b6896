#pragma once

// What quick probe knows of the reference model: for a point near the probe tip, the CAD face or edge
// nearest to it and the nominal feature that face or edge belongs to, recreated from the model by the host's
// face and edge fitters, with a collector made for it. Every nominal has an index; faces of one surface share
// it, and so do the edges a recreated edge feature covers. Tables are integer-keyed hash tables, whose bucket
// order decides the order in which probed features are finished, added and named.
//
// An edge is recognised only beside a face of a known plane (probed, or a feature of the reference object),
// which becomes the work plane of its collector, and only where the ball touches the model within a small
// band of the edge, whatever its size; elsewhere the nearest face is taken, so that touches near the edge
// of a face probed before any plane is known are that face's, and touches down a bore or a countersink
// make the cylinder or the cone. Main thread only.
//
// Points, nominals and collectors are the world's, as the device reports it: the model is asked in its own
// coordinates, where the placement given to attach maps each point, and every nominal it gives is placed in
// the world before anything else sees it. recreateFace and recreateEdge alone answer in the model's
// coordinates, as the host's fitters do.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "basic_types/vector3.h"
#include "basic_types/zel_hash_table.h"
#include "commands/features/closest_point_on_cad.h"
#include "features/collectors/zel_feature_collector.h"
#include "framework/host_glue/object_placement.h"
#include "framework/object/iptr.h"
#include "host_api/zel_cad.h"
#include "host_api/zel_feature.h"

class BitVector;
class IZelSlotOutline;

class QuickProbeRecognizer {
 public:
  static constexpr int32_t kNone = -1;

  struct FaceOrEdge {
    int32_t face = kNone;
    int32_t edge = kNone;
    Vector3 edgePoint;  // the edge's point nearest to the point, in the world, with an edge
  };

  // The collector of an index, with its nominal and, once finished, its probed feature.
  struct Entry {
    int32_t index = kNone;
    IPtr<IZelFeature> nominal;
    IPtr<IZelFeatureCollector> collector;
  };

  // The model placed in the world by placement. False when the model has no topology or the closest-point
  // service refuses it.
  bool attach(IZelMeshExt* mesh, int32_t modelId, const ObjectPlacement& placement = {});
  void detach();

  // The allowance by which an edge wins over a nearer face is 1.5 × radius.
  void setProbeRadius(double radius);
  double probeRadius() const { return radius_; }

  // Enters a feature of the reference object (in the model's coordinates) recreated from the model, by its
  // recreation record: one
  // entity is a surface (its faces), more are an edge feature (the entities its edge recreates again).
  // The feature's index; kNone when it has no record or its edges cannot be recreated.
  int32_t enterReferenceFeature(IZelFeature* feature);

  FaceOrEdge nearestFaceOrEdge(const Vector3& point);
  // The nominal index of a face (edge kNone) or of an edge (face kNone); kNone for an edge whose feature
  // cannot be recreated.
  int32_t indexFor(int32_t face, int32_t edge);

  // The index recognised at the point with its nominal and collector made ready; kNone when nothing is.
  int32_t recognise(const Vector3& point);
  // Whether the last point recognised nothing because its nearest face is of no kind measured here (a
  // free-form face, a torus).
  bool onUnmeasuredFace() const { return onUnmeasuredFace_; }
  // The index recognised at the last point, kNone for none.
  int32_t currentIndex() const { return currentIndex_; }
  void forgetCurrent() { currentIndex_ = kNone; }
  // Whether points go to the index's collector: it exists, and a slot's has its work plane, which only an
  // edge beside a known plane gives.
  bool acceptsPoints(int32_t index);

  // The edges of an index's edge feature, ascending; none for a surface or kNone.
  std::vector<int32_t> edgesOf(int32_t index);
  IZelCadTopology* topology() const { return topology_; }
  const ObjectPlacement& placement() const { return placement_; }

  IZelFeature* nominal(int32_t index);
  IZelFeatureCollector* collector(int32_t index);
  // The collectors in table order, taken as a snapshot so that finishing may remove entries.
  std::vector<Entry> collectorsInOrder();
  // Drops the collector and its touches.
  void removeCollector(int32_t index);
  void setProbed(int32_t index, IZelFeature* probed);

  // Keeps a touch handed to the index's collector with its probe direction (zero when unknown), and learns
  // from the model's normal at the face nearest to it where the air lies beside the nominal; once known it
  // stays. The touches its collector holds, their probe directions in touching order, and the point on the
  // air side of the nominal, when known.
  void noteTouch(int32_t index, const Vector3& touch, const Vector3& direction);
  int32_t touchCount(int32_t index);
  std::span<const Vector3> touchDirections(int32_t index);
  std::optional<Vector3> airSide(int32_t index);
  // Forgets the last touch any collector still holds, and answers the index whose collector must let it
  // go; kNone when none holds a touch.
  int32_t takeBackLastTouch();

  // Recreation through the host's fitters; null when the fitter gives nothing. The edge fitter adds the
  // edges the feature covers to covered.
  IPtr<IZelFeature> recreateFace(int32_t face);
  IPtr<IZelFeature> recreateEdge(int32_t edge, BitVector* covered);

  // The collector kind a nominal asks for; null for a kind outside the table.
  static IPtr<IZelFeatureCollector> createCollectorForNominal(IZelFeature* nominal);

 private:
  int32_t nominalForFace(int32_t face);
  void learnAirSide(int32_t index, const Vector3& touch);
  // The model's face nearest to a world point, with its point nearest to it in the world; false for none.
  bool nearestFace(const Vector3& point, uint32_t& face, Vector3& facePoint);
  // Near the point of the edge, for the ball at centre; kNone where the edge is no hole's outline beside a
  // known plane, or the ball's contact lies off the edge's rim band.
  int32_t nominalForEdge(int32_t edge, const Vector3& point, const Vector3& centre);
  // Whether the ball at centre touches the model on the edge's rim band: its contact (the model's point
  // nearest to it) lies near the edge point, in the plane beside the edge or straight across it from the
  // edge, on a wall square to the plane. A wall slanted to the plane (a countersink's cone) meets the ball
  // on another circle than the rim's, however near.
  bool contactOnRim(const Vector3& centre, const Vector3& edgePoint, const Vector3& planeNormal);
  // Whether a slot outline is cut into its plane's face (a hole), not the face's own outline: just inside
  // the outline beside the edge point, the model's surface is not right below a point over the plane.
  bool outlinesHole(IZelSlotOutline& outline, const Vector3& edgePoint);
  // The candidate plane beside the edge on one side, or null.
  IZelFeature* planeBeside(int32_t edge, int32_t side);
  // Makes and stores the collector of an index when it has none; false when none can be made.
  bool readyCollector(int32_t index, IZelFeature* nominal, IZelFeature* workPlane);
  int32_t enterEdges(const BitVector& edges);
  // A feature in the model's coordinates placed in the world; null for null.
  IPtr<IZelFeature> placed(IZelFeature* own) const;

  IZelCadTopology* topology_ = nullptr;
  IZelCadModel* cadModel_ = nullptr;
  IPtr<IZelClosestPointOnCad> closestPoint_;
  int32_t modelId_ = 0;
  ObjectPlacement placement_;
  double radius_ = 0.0;
  double allowanceSquared_ = 0.0;
  int32_t nextIndex_ = 1;
  int32_t currentIndex_ = kNone;
  bool onUnmeasuredFace_ = false;

  ZelHashTable<int32_t, int32_t> faceIndex_;
  ZelHashTable<int32_t, int32_t> edgeIndex_;
  ZelHashTable<int32_t, IPtr<IZelFeature>> nominals_;
  ZelHashTable<int32_t, IPtr<IZelFeatureCollector>> collectors_;
  ZelHashTable<int32_t, IPtr<IZelFeature>> probed_;
  ZelHashTable<int32_t, bool> fromReference_;  // the indices of the reference object's features
  ZelHashTable<int32_t, bool> awaitingPlane_;
  ZelHashTable<int32_t, Vector3> airSides_;
  ZelHashTable<int32_t, std::vector<Vector3>> touchDirections_;
  std::vector<int32_t> touchOrder_;  // the index of every touch the collectors hold, oldest first
};

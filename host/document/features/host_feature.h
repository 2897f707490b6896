#pragma once

// What every feature kind of the stand-in host shares. A kind is a class
//
//   class HostPlane final : public HostFeatureKind<HostPlane, IZelPlane, PlaneShape> { ... };
//
// whose values live in one plain struct (shape_), so that a copy is that struct and the parameters copied,
// and which describes itself to the shared operations by its box, its locus for matching and its frame. A
// query answers the class name, "IZelUnknown", the kind's interface, whatever the kind adds (offerMore),
// "IZelFeature" and "IZelFeatureExt". The feature's parameters live in a table of its own, made when the
// first is set. A feature belongs to one thread at a time.

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/core/host_unknown.h"
#include "host/document/features/feature_geometry.h"
#include "host/document/parameters/host_parameter_table.h"
#include "host_api/zel_feature.h"

class HostFeature : public virtual IZelFeature, public IZelFeatureExt, public HostUnknown {
 public:
  IZelUnknown* object() override { return static_cast<IZelFeature*>(this); }
  IZelParameter* getParameter(const ZelString& name) override;
  bool setParameter(const ZelString& name, IZelParameter* value) override;
  bool frame(Vector3& a, Vector3& b, Vector3& c) override;
  bool boundingBox(double box[6]) override;
  IZelParameter* parameterForm() override;
  bool match(IZelFeature* other, double maxDistance, double maxAngle) override;

  virtual Box ownBox() const = 0;
  virtual Locus locus() const = 0;
  virtual Frame localFrame() const = 0;

 protected:
  // Other's feature of this one's kind, or null.
  virtual HostFeature* sameKind(IZelFeature* other) = 0;
  // False when a parameter cannot be copied.
  bool copyParametersInto(HostFeature& copy) const;
  QueryChain& offerFeature(QueryChain& chain) {
    return chain.offer<IZelFeature>(this).offer<IZelFeatureExt>(this);
  }

 private:
  IPtr<IZelParameterTable> parameters_;  // null until the first parameter is set
};

template <class Derived, class Kind, class Shape>
class HostFeatureKind : public Kind, public HostFeature {
 public:
  IZelFeature* copy() override {
    IPtr<Derived> copied(new Derived);
    copied->shape_ = shape_;
    if (!copyParametersInto(*copied)) return nullptr;
    copied->addRef();  // the caller's reference, which outlives ours
    return copied.get();
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(Derived::interfaceName, static_cast<Derived*>(this), static_cast<IZelFeature*>(this))
        .template offer<Kind>(this);
    static_cast<Derived*>(this)->offerMore(chain);
    offerFeature(chain).end();
  }
  const char* className() override { return Derived::interfaceName; }

  // Shadowed by a kind that answers further interfaces.
  void offerMore(QueryChain&) {}

 protected:
  HostFeature* sameKind(IZelFeature* other) override { return queryPart<Derived>(other); }

  Shape shape_;
};

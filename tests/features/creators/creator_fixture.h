#pragma once

// Drives the module's feature creators as a collector and the edit command do: a creator made by class id
// through the host root, its table filled with host values by key, the feature asked for, and its probing
// record read back.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "features/compensated_points.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/creators/zel_hard_probe_feature_creator.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host_api/feature_kinds.h"
#include "platform/utf8.h"
#include "support/made_by_name.h"
#include "support/module_fixture.h"
#include "support/point_ring.h"

using Points = std::vector<Vector3>;

inline void expectNear(const Vector3& actual, const Vector3& expected, double tolerance = 1e-12) {
  EXPECT_NEAR((actual - expected).length(), 0.0, tolerance) << actual << " vs " << expected;
}

inline IPtr<IZelParameter> pointsValue(const Points& points) {
  IPtr<IZelVectorsValue> value = made<IZelVectorsValue>();
  setPoints(*value, points);
  return IPtr<IZelParameter>(value.get());
}
inline IPtr<IZelParameter> pointValue(const Vector3& point) {
  IPtr<IZelVectorValue> value = made<IZelVectorValue>();
  value->setValue(point);
  return IPtr<IZelParameter>(value.get());
}
inline IPtr<IZelParameter> doubleValue(double number) {
  IPtr<IZelDoubleValue> value = made<IZelDoubleValue>();
  value->setValue(number);
  return IPtr<IZelParameter>(value.get());
}
// The feature as a table value, as a collector passes a work plane or a child.
inline IPtr<IZelParameter> featureValue(IZelFeature* feature) {
  IPtr<IZelParameter> value;
  value.takeOwnership(feature->parameterForm());
  return value;
}

inline IPtr<IZelFeature> planeFeature(const Vector3& point, const Vector3& normal) {
  IPtr<IZelPlane> plane = made<IZelPlane>();
  plane->setPlane(point, normal, {}, 0, 0);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(plane.get()));
}
inline IPtr<IZelFeature> circleFeature(const Vector3& centre, double radius) {
  IPtr<IZelArc> arc = made<IZelArc>();
  arc->setCenter(centre);
  arc->setRadius(radius);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(arc.get()));
}

class CreatorTest : public ModuleTest {
 protected:
  IPtr<IZelHardProbeFeatureCreator> creator(const char* className) {
    IPtr<IZelHardProbeFeatureCreator> made;
    made.createInstance(classIdOf(className));
    EXPECT_TRUE(made) << className;
    return made;
  }

  // The creator's feature from the points, the stop point and the probe radius, and the work plane when one
  // is given.
  IPtr<IZelFeature> probe(const char* className, const Points& sampled, const Vector3& stop, double radius,
                          IZelFeature* workPlane = nullptr) {
    IPtr<IZelHardProbeFeatureCreator> made = creator(className);
    made->setParameter(ZelString(kSampledPointsKey), pointsValue(sampled).get());
    made->setParameter(ZelString(kStopPointKey), pointValue(stop).get());
    made->setParameter(ZelString(kProbeRadiusKey), doubleValue(radius).get());
    if (workPlane) made->setParameter(ZelString(kWorkPlaneKey), featureValue(workPlane).get());
    return createNoting(*made);
  }

  // A cylinder creator's feature between the two planes ("<BottomPlane>", "<TopPlane>").
  IPtr<IZelFeature> probeBetween(const Points& sampled, const Vector3& stop, double radius,
                                 IZelFeature* bottom, IZelFeature* top) {
    IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbeTopBottomPlaneCylinderCreator");
    made->setParameter(ZelString(kSampledPointsKey), pointsValue(sampled).get());
    made->setParameter(ZelString(kStopPointKey), pointValue(stop).get());
    made->setParameter(ZelString(kProbeRadiusKey), doubleValue(radius).get());
    made->setParameter(ZelString(kBottomPlaneKey), featureValue(bottom).get());
    made->setParameter(ZelString(kTopPlaneKey), featureValue(top).get());
    return createNoting(*made);
  }

  // A composite creator's feature from its children, named "<Feature1>", "<Feature2>", ... in order, with the
  // probe radius and the work plane when they are given.
  IPtr<IZelFeature> compose(const char* className, const std::vector<IZelFeature*>& children,
                            std::optional<double> radius, IZelFeature* workPlane = nullptr) {
    IPtr<IZelParameterTable> table = made<IZelParameterTable>();
    for (size_t i = 0; i < children.size(); ++i) {
      const std::string name = "<Feature" + std::to_string(i + 1) + ">";
      table->setParameter(ZelString(name.c_str()), featureValue(children[i]).get());
    }
    IPtr<IZelHardProbeFeatureCreator> composite = creator(className);
    composite->setParameter(ZelString(kChildFeaturesKey), table.get());
    if (radius) composite->setParameter(ZelString(kProbeRadiusKey), doubleValue(*radius).get());
    if (workPlane) composite->setParameter(ZelString(kWorkPlaneKey), featureValue(workPlane).get());
    return create(*composite);
  }

  static IPtr<IZelFeature> create(IZelHardProbeFeatureCreator& made) {
    IPtr<IZelFeature> feature;
    feature.takeOwnership(made.createFeature());
    return feature;
  }

  // create, keeping the creator's refusal in refusal.
  IPtr<IZelFeature> createNoting(IZelHardProbeFeatureCreator& made) {
    IPtr<IZelFeature> feature = create(made);
    refusal = platform::toUtf8(made.refusal().c_str());
    return feature;
  }

  static Points compensated(IZelFeature* feature) { return getCompensatedPoints(feature).value_or(Points{}); }

  // The z = 0 plane facing +z.
  IPtr<IZelFeature> groundPlane() { return planeFeature({0, 0, 0}, {0, 0, 1}); }

  // Why the creator of the last probe or probeBetween made no feature (UTF-8); empty after one it made.
  std::string refusal;
};

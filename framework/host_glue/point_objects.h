#pragma once

// Point values and point objects made through the host, as the capture, section, alignment and move-device
// commands need them.

#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host_api/points.h"
#include "host_api/zel_doc.h"

// A new, empty point set from the host with an array of its own (room for 1024 points at first); empty
// without the host's point sets or arrays.
IPtr<IZelPoints> createPointSet();

// The points of a point object (its "PointModel" part), held by the object; null for none.
IZelPoints* pointsOf(IZelDocObject* object);

// A named, empty point object in the document, to which probed points are appended later; empty when the
// host lacks the builder, the array factory or point objects.
IPtr<IZelDocObject> createPointObject(const ZelString& name);

// The object probed features go to when the document has none: a point object named tr("Feature Object"),
// registered with the document as "TestObject" so that the probing commands find it; empty when it cannot be
// made.
IPtr<IZelDocObject> createFeatureObject(IZelDoc& document);

// A fresh point value from the host; empty before the host is known.
IPtr<IZelPoint> createPoint();

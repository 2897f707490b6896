#pragma once

// The point of a triangle closest to a point, for the meshes' projections and for measuring them.

#include <Eigen/Core>

// The barycentric weights (of b, of c) of the point of triangle abc closest to p, after Ericson's "Real-Time
// Collision Detection", 5.1.5: the Voronoi region of p decides the vertex, edge or face.
Eigen::Vector2d closestWeights(const Eigen::Vector3d& p, const Eigen::Vector3d& a, const Eigen::Vector3d& b,
                               const Eigen::Vector3d& c);

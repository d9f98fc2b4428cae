#pragma once

#include "geometry/Vec3.h"

#include <memory>

class Mesh3D;
class Model;

// What the scene needs to know about a hand-placed support piece (an end ball or a rod). The
// supports library's piece classes derive from Mesh3D and from this interface; the scene finds
// it with dynamic_cast, so that geometry does not depend on the supports library.
class IManualPiece
{
  public:
    virtual ~IManualPiece() = default;

    // The model the piece belongs to (empty when it was never attached).
    virtual std::shared_ptr<Model> manualOwner() const = 0;
    virtual bool isRod() const = 0;

    // Rods: their two end balls; balls: empty.
    virtual std::shared_ptr<Mesh3D> rodTopBall() const { return {}; }
    virtual std::shared_ptr<Mesh3D> rodBottomBall() const { return {}; }
    // Rods: takes the rod out of both end balls' lists of rods.
    virtual void detachRodFromBalls() {}

    // Balls: the number of rods ending in the ball, and its centre.
    virtual int ballRodCount() const { return 0; }
    virtual Vec3f ballCentre() const { return {}; }
};

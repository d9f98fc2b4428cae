#pragma once

#include "geometry/Vec3.h"

#include <vector>

class DModelMap;
class Overhang;

// One place a column could stand for an overhang: the column's length, its axis (x, y) and the
// z of its bottom.
struct DTipCandidate {
    float length = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float bottomZ = 0.0f;

    Point3f top() const { return {x, y, bottomZ + length}; }
    Point3f bottom() const { return {x, y, bottomZ}; }
};

// The tip search record of an overhang: candidate column tops on a 0.5 mm grid within 2.5 mm of
// the overhang, on the sphere of radius 2 around it and within 45 degrees of straight below.
struct DTipStruct {
    int ringSegments = 6;
    float coneLimit = 0.70711f; // cos 45 degrees
    float radius = 2.0f;
    float step = 0.5f;
    float halfWidth = 2.5f;
    std::vector<DTipCandidate> candidates;
    int chosen = -1; // index into candidates, -1 when there is none
};

// What the tip search needs to know about the model and the rods.
struct DTipSearchContext {
    const DModelMap *map = nullptr;
    Box3f modelBox;
    float linkPointRadius = 0.0f;
    float supportRadius = 0.0f;
};

// The support factory's overhang: where the support touches the model, and the search for the
// column below it.
class DOverhang
{
  public:
    explicit DOverhang(const Overhang &overhang);
    DOverhang(const Point3f &position, float overhangRadius, const Vec3f &direction);

    const Point3f &position() const { return m_position; }
    float overhangRadius() const { return m_overhangRadius; }
    const Vec3f &direction() const { return m_direction; }
    const DTipStruct &tipSearch() const { return m_search; }
    bool hasChosen() const { return m_search.chosen >= 0; }
    const DTipCandidate &chosen() const
    {
        return m_search.candidates[static_cast<std::size_t>(m_search.chosen)];
    }

    // Collects the candidates and chooses one: the first is the default, then every candidate
    // scoring higher than the best so far replaces it. The score
    // (1 - d / 2) * 0.3 + length / highest z * 0.5 favours long columns close below the point.
    void searchTips(const DTipSearchContext &context);

  private:
    // The candidate for the column top c, or false when the tip or the column would cross the
    // model.
    bool candidateFor(const Point3f &c, const DTipSearchContext &context,
                      DTipCandidate *candidate) const;

    Point3f m_position;
    float m_overhangRadius;
    Vec3f m_direction;
    DTipStruct m_search;
};

#pragma once

#include "supports/MeshQuery.h"
#include "supports/Nail.h"

#include "geometry/SupportParameters.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

struct NailGrid;

// Largest horizontal distance from a fork centre to a partner, mm.
constexpr float kForkReach = 15.0f;
// Cross-bracing joins columns closer than this that are both taller than it, mm.
constexpr float kBraceReach = 16.0f;

// Does the fork and cross-bracing stages of method A on the columns of a structure.
//
// Forks: repeatedly the unprocessed column whose span A reaches highest becomes the centre C and
// looks for two partners on opposite sides within 15 mm whose beams (rising 1.2 mm per mm) meet C
// at one height h; the pair with the largest h minus beam length wins. Partners come from the
// visible columns, then (for a C standing on the model) one column and one virtual column, then
// two virtual columns. A pair whose beams cross the model makes no fork.
class ForkBuilder
{
  public:
    ForkBuilder(const SupportParameters &params, const MeshQuery &query, const NailGrid *grid,
                float gridShift);

    // Processes every column of `nails` as a fork centre (highest span A first); virtual columns
    // that become partners are appended to `nails` (with `false` appended to `isCentre`).
    // `isCentre[i]` tells whether column i became a fork centre. `step(i, n)` reports progress
    // and returns false to stop (cancel).
    bool buildForks(std::vector<std::shared_ptr<Nail>> &nails, std::vector<bool> &isCentre,
                    const std::function<bool(int, int)> &step);

    // Cross-bracing beams between the columns (zig-zag, nearest pairs first, each column in at
    // most one pair).
    std::vector<Beam> buildBracing(const std::vector<std::shared_ptr<Nail>> &columns) const;

    // True when a beam from `from` to `to` (radius r) runs into the model.
    bool beamCrossesModel(const Point3f &from, const Point3f &to) const;

  private:
    struct Partner {
        int id = 0; // structure index or grid index
        bool isVirtual = false;
        float d = 0.0f; // horizontal distance to the centre
        float ux = 0.0f, uy = 0.0f;
        Span interval;    // feasible centre heights through this partner
        double key = 0.0; // interval.high - sqrt(2.44) * d: bounds the pair score
    };
    struct Pair {
        bool found = false;
        float score = 0.0f;
        float height = 0.0f;
        Partner first, second;
    };

    bool partnerFor(const Nail &centre, const Nail &s, Partner *out) const;
    bool pairScore(const Partner &a, const Partner &b, float *score, float *height) const;
    Pair bestPair(const std::vector<Partner> &listA, const std::vector<Partner> &listB,
                  bool sameSet) const;
    std::vector<Partner> structurePartners(const Nail &centre,
                                           const std::vector<std::shared_ptr<Nail>> &nails,
                                           int centreIndex) const;
    std::vector<Partner> virtualPartners(const Nail &centre) const;
    std::shared_ptr<Nail> virtualNail(int gridIndex) const;
    bool applyFork(std::vector<std::shared_ptr<Nail>> &nails, int centreIndex, const Pair &pair,
                   std::vector<bool> &isCentre, std::vector<bool> &processed,
                   std::vector<std::pair<float, int>> &raised);

    SupportParameters m_params;
    const MeshQuery &m_query;
    const NailGrid *m_grid;
    float m_gridShift;
    std::vector<bool> m_virtualUsed;
    // Indexed mode: structure columns bucketed by 15 mm cells.
    std::unordered_map<std::int64_t, std::vector<int>> m_buckets;
    static std::int64_t bucketKey(std::int64_t cx, std::int64_t cy) { return cx * 1000003 + cy; }
    void bucketInsert(const Nail &nail, int index);
};

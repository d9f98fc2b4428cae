#pragma once

#include "supports/MeshQuery.h"
#include "supports/SupportPath.h"

#include "geometry/IProgressable.h"
#include "geometry/Overhang.h"
#include "geometry/SupportParameters.h"

#include <QString>

#include <unordered_map>

class Mesh3D;
class Model;

// Finds the points of a model's lower surface that need support.
//
// First every vertex that is a local minimum and whose summed face normals point down (within
// 45 degrees of straight down) is offered; then every downward face is sampled on the grid of
// whole multiples of supportGaps in x and y. A candidate is accepted when it lies above the
// platform, no accepted point is closer than supportGaps (exactly supportGaps is fine) and its
// support can be routed. The result is in acceptance order and depends only on the mesh's stored
// vertex and face order, so two runs give the same list; the query mode changes only the speed.
//
// Progress goes to the callback chain under "SupportCalucate"; the vertex pass ends at 20 %.
class OverhangFinder : public IProgressable
{
  public:
    // The mesh must stay unchanged and alive while find() runs.
    explicit OverhangFinder(const Mesh3D &mesh, QueryMode mode = QueryMode::Indexed);

    // Clears the result and searches the mesh. False when the parameters cannot be used (see
    // errorString()) or the run was cancelled; the result then holds what was found so far.
    bool find(SupportParameters params);

    // Uses `query` (built over this finder's mesh, kept alive by the caller) instead of building
    // one per run; null returns to building one.
    void setSharedQuery(const MeshQuery *query) { m_sharedQuery = query; }

    const OverhangList &result() const { return m_result; }
    QString errorString() const { return m_error; }

    // Whether parameters allow detection; fills reason when not.
    static bool checkParameters(const SupportParameters &params, QString *reason);
    // Whether the work the gap causes on mesh (raised by zOffset mm first) stays bounded: more
    // than 100,000 candidate points of the face pass are refused with the reason and the
    // smallest gap that would do.
    static bool checkWork(const Mesh3D &mesh, const SupportParameters &params, float zOffset,
                          QString *reason);

  private:
    bool offerCandidate(const Point3f &p, const Vec3f &normal);
    bool tooCloseToAccepted(const Point3f &p) const;
    void remember(const Point3f &p);

    const Mesh3D &m_mesh;
    QueryMode m_mode;
    SupportParameters m_params;
    OverhangList m_result;
    QString m_error;

    // Accepted points bucketed by cells a little larger than supportGaps (indexed mode).
    struct CellKey {
        std::int64_t x, y, z;
        bool operator==(const CellKey &o) const { return x == o.x && y == o.y && z == o.z; }
    };
    struct CellHash {
        std::size_t operator()(const CellKey &k) const;
    };
    CellKey cellOf(const Point3f &p) const;
    float m_cellSize = 1.0f;
    std::unordered_map<CellKey, std::vector<std::uint32_t>, CellHash> m_cells;
    const SupportModelView *m_view = nullptr;
    const MeshQuery *m_sharedQuery = nullptr;
};

// Places an overhang by hand at a picked surface point with the picked face's normal: routes its
// support with the model's support parameters and appends it to the model's overhang list.
// Returns the overhang, or null when the pick is at z <= 0.1 or no support can be routed.
std::shared_ptr<Overhang> addManualOverhang(Model &model, const Point3f &point,
                                            const Vec3f &faceNormal,
                                            QueryMode mode = QueryMode::Indexed);

// Display rule of the overhang editors: the face's normal is within 40 degrees of straight down
// (its downward component is at least 0.76604) and its lowest corner lies above z = 0.
bool isOverhangFaceForDisplay(const Mesh3D &mesh, std::size_t faceIndex);

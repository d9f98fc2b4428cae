#pragma once

#include "supports/MeshQuery.h"

#include "geometry/IProgressable.h"
#include "geometry/Overhang.h"
#include "geometry/PlatformSize.h"
#include "geometry/Support.h"
#include "geometry/SupportParameters.h"

#include <QString>

#include <memory>

class Model;
class Nail;

// Heights of the virtual column grid under a model: for every grid point the lowest model
// surface above it (or the box top + 3r where nothing is above), then the minimum over the point
// and its four neighbours.
struct NailGrid {
    float x0 = 0.0f;
    float y0 = 0.0f;
    float cell = 0.0f;
    int columns = 0;
    int rows = 0;
    std::vector<float> heights; // columns * rows, column-major: index = i * rows + j

    // What the grid was computed for; a z-only move shifts the heights instead of recomputing.
    float radius = 0.0f;
    Box3f modelBox;

    Point3f point(int i, int j, float zShift) const
    {
        return {x0 + static_cast<float>(i) * cell, y0 + static_cast<float>(j) * cell,
                heights[static_cast<std::size_t>(i) * rows + j] + zShift};
    }
};

// What the support generator keeps for a model between runs: the virtual nail grid. The model
// drops it when it moves horizontally.
class SupportGeneratorState : public ISupportGeneratorState
{
  public:
    void discardNailGrid() override { m_grid.reset(); }
    std::unique_ptr<ISupportGeneratorState> clone() const override;

    const std::shared_ptr<const NailGrid> &grid() const { return m_grid; }
    void setGrid(std::shared_ptr<const NailGrid> grid) { m_grid = std::move(grid); }

  private:
    std::shared_ptr<const NailGrid> m_grid;
};

// Builds the support structure of a model from its overhang list. Method A: per overhang a tip
// and a column to the platform or onto the model (or a link), forks that let a column end on two
// neighbours, cross-bracing between tall neighbours and the base plate.
//
// Parts come out in this order: tips and links (a link followed by its end ball), then per column
// its fork beams, the column and its feet, then the bracing beams, then the base. Progress goes
// to the callback chain under "ctlSupportGenaration" (stages end at 10, 75, 90 and 100 %).
// Method B (parameters' method 1) hands the whole run to the support factory (DSupportFactory)
// and takes its parts.
class SupportGenerator : public IProgressable
{
  public:
    // The model must not change while generate() runs; its generator state (installed when
    // missing) keeps the virtual nail grid for later runs.
    explicit SupportGenerator(Model &model, QueryMode mode = QueryMode::Indexed);

    // Generates supports for the overhangs (normally the model's list; their support paths are
    // computed where missing or stale). False when the parameters cannot be used or the run was
    // cancelled; errorString() then says why and result() is null.
    bool generate(const OverhangList &overhangs, SupportParameters params);

    // Uses `query` (built over the model's current geometry, kept alive by the caller) instead of
    // building one per run; null returns to building one.
    void setSharedQuery(const MeshQuery *query) { m_sharedQuery = query; }

    const std::shared_ptr<Support> &result() const { return m_result; }
    QString errorString() const { return m_error; }

    void setPlatform(const PlatformSize &platform) { m_platform = platform; }

    // Whether parameters allow their method for a model of the given box; fills reason when not.
    static bool checkParameters(const SupportParameters &params, const Box3f &modelBox,
                                QString *reason);

  private:
    std::shared_ptr<const NailGrid> nailGrid(const MeshQuery &query,
                                             const std::vector<Vec3f> &normals, float *zShift);

    Model &m_model;
    QueryMode m_mode;
    SupportParameters m_params;
    PlatformSize m_platform;
    std::shared_ptr<Support> m_result;
    QString m_error;
    const MeshQuery *m_sharedQuery = nullptr;
};

#pragma once

#include "supports/DModelMap.h"
#include "supports/DOverhang.h"

#include "geometry/Overhang.h"
#include "geometry/PlatformSize.h"
#include "geometry/SupportParameters.h"

#include <QLoggingCategory>

#include <memory>
#include <vector>

class DNail;
class IProgressable;
class Mesh3D;

Q_DECLARE_LOGGING_CATEGORY(lcSupportFactory)

// A column of the support factory and the columns it is braced to (indices into the column
// list).
struct DFactoryColumn {
    std::shared_ptr<DNail> nail;
    std::vector<int> braced;
};

// The support factory (method B): for every overhang a six-sided tip from the overhang down to a
// column top found by a small search below it, a ball there, a vertical column to the platform or
// onto the model (a cone foot where it stands on the model, a short cone instead of a column
// shorter than 1 mm), ladders of parallel 45-degree braces between neighbouring columns and a
// base plate under the columns and the model.
//
// Parts come out in this order: braces, balls, columns, tips, short columns and foot cones, then
// the base. Progress goes to the generator's chain under "ctlSupportGenaration" (stages end at
// 5, 45, 60, 65, 95 and 100 %, the last one "ctlSupportBaseGenaration"). Debug lines go to the
// logging category "dcore.sfactory", whose debug level is off unless a rule turns it on.
//
// QueryMode::Reference runs the written cell walk and one tip search after the other;
// QueryMode::Indexed uses the packed model map and runs the tip searches on the thread pool. Both
// give the same parts, vertex for vertex.
class DSupportFactory
{
  public:
    static constexpr float kMinBraceHeight = 2.5f;
    static constexpr float kShortColumn = 1.0f;

    // The mesh (with its face normals) must stay unchanged while the factory lives.
    DSupportFactory(const Mesh3D &model, const SupportParameters &params,
                    IProgressable *progress = nullptr, QueryMode mode = QueryMode::Indexed,
                    const PlatformSize &platform = PlatformSize());
    ~DSupportFactory();

    // Builds the supports of the overhangs. False only when the run was cancelled.
    bool run(const OverhangList &overhangs);
    const std::vector<std::shared_ptr<Mesh3D>> &result() const { return m_result; }

    // What the run decided, for inspection.
    const std::vector<DOverhang> &overhangs() const { return m_overhangs; }
    const std::vector<DFactoryColumn> &columns() const { return m_columns; }

    // The model map, built on first use.
    const DModelMap &modelMap();
    // The brace stage alone over the given columns (their braced lists are updated).
    std::vector<std::shared_ptr<Mesh3D>> buildBraces(std::vector<DFactoryColumn> &columns);

  private:
    bool searchTips(const OverhangList &overhangs);
    void createObjects();
    void buildFeet();
    std::shared_ptr<Mesh3D> buildBase() const;
    int buildLadder(std::vector<DFactoryColumn> &columns, int s, int target,
                    std::vector<std::shared_ptr<Mesh3D>> &braces);
    bool cancelled() const;
    void step(std::int64_t current, std::int64_t total, const char *stage = nullptr);

    const Mesh3D &m_model;
    SupportParameters m_params;
    IProgressable *m_progress;
    QueryMode m_mode;
    PlatformSize m_platform;
    std::unique_ptr<DModelMap> m_map;
    float m_highestZ = 0.0f;

    std::vector<DOverhang> m_overhangs;
    std::vector<DFactoryColumn> m_columns;
    std::vector<std::shared_ptr<Mesh3D>> m_tips;
    std::vector<std::shared_ptr<Mesh3D>> m_spheres;
    std::vector<std::shared_ptr<Mesh3D>> m_shortRods; // short columns, then foot cones
    std::vector<std::shared_ptr<Mesh3D>> m_result;
};

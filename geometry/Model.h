#pragma once

#include "geometry/Mesh3D.h"
#include "geometry/Overhang.h"
#include "geometry/Support.h"
#include "geometry/SupportParameters.h"

#include <array>
#include <memory>
#include <vector>

// An imported part: a mesh that also owns its overhang points, generated supports, manual
// supports and support parameters. Held through std::shared_ptr by the scene, the renderer,
// workers and writers.
class Model : public Mesh3D
{
  public:
    Model();
    ~Model() override;

    // Transforms the mesh, each overhang point, every generated support mesh, and the manual
    // supports, all with the same matrix. When the matrix moves (1, 1, 1) to an x or y other
    // than 1 (a horizontal move), the support generator state discards its virtual nail grid.
    void transform(const Matrix4f &matrix) override;

    // Deep copy sharing no geometry with this model (see deepCopy()).
    std::shared_ptr<Mesh3D> clone() const override;
    // Copies object fields, geometry, colour, contour data (SLC models: a new SlcModel),
    // value list, layout history, support parameters, flags, further values and model matrix;
    // re-creates every overhang and generated support mesh as a new object; copies the manual
    // supports through their shared record. The generator state is cloned when present.
    std::shared_ptr<Model> deepCopy() const;

    // Mesh volume plus the volumes of the generated support meshes and of the overhang spheres.
    double volumeWithSupports() const;

    std::vector<std::int32_t> &valueList() { return m_valueList; }
    const std::vector<std::int32_t> &valueList() const { return m_valueList; }
    // Translations applied by the automatic layout, in order.
    std::vector<Matrix4f> &layoutHistory() { return m_layoutHistory; }
    const std::vector<Matrix4f> &layoutHistory() const { return m_layoutHistory; }

    OverhangList &overhangs() { return m_overhangs; }
    const OverhangList &overhangs() const { return m_overhangs; }
    bool overhangsFlag() const { return m_overhangsFlag; }
    void setOverhangsFlag(bool flag) { m_overhangsFlag = flag; }

    // Generated supports; null when none were generated.
    const std::shared_ptr<Support> &support() const { return m_support; }
    // Sets the supports and the has-supports flag (true exactly when support is non-null and
    // holds parts).
    void setSupport(std::shared_ptr<Support> support);
    bool hasSupports() const { return m_hasSupports; }
    // Stored flag as read from a project; setSupport() keeps it consistent otherwise.
    void setHasSupports(bool has) { m_hasSupports = has; }

    SupportParameters &supportParameters() { return m_supportParameters; }
    const SupportParameters &supportParameters() const { return m_supportParameters; }

    std::array<std::int32_t, 2> &furtherValues() { return m_furtherValues; }
    const std::array<std::int32_t, 2> &furtherValues() const { return m_furtherValues; }

    // Column-major; identity at creation.
    const Matrix4f &modelMatrix() const { return m_modelMatrix; }
    void setModelMatrix(const Matrix4f &m) { m_modelMatrix = m; }

    // Copies of the overhang points, refilled by refillOverhangBackup().
    const OverhangList &overhangBackup() const { return m_overhangBackup; }
    void refillOverhangBackup();
    // Replaces the overhang list with copies of the backup.
    void restoreOverhangsFromBackup();

    ManualSupports &manualSupports() { return m_manualSupports; }
    const ManualSupports &manualSupports() const { return m_manualSupports; }

    // Support generator state kept between runs; null until the supports library installs one.
    ISupportGeneratorState *supportGeneratorState() const { return m_generatorState.get(); }
    void setSupportGeneratorState(std::unique_ptr<ISupportGeneratorState> state);

  private:
    std::vector<std::int32_t> m_valueList;
    std::vector<Matrix4f> m_layoutHistory;
    OverhangList m_overhangs;
    std::shared_ptr<Support> m_support;
    bool m_overhangsFlag = false;
    bool m_hasSupports = false;
    SupportParameters m_supportParameters;
    std::array<std::int32_t, 2> m_furtherValues{0, 0};
    Matrix4f m_modelMatrix = identityMatrix();
    OverhangList m_overhangBackup;
    ManualSupports m_manualSupports;
    std::unique_ptr<ISupportGeneratorState> m_generatorState;
};

#pragma once

#include "slicing/PolygonSteps.h"

#include <QObject>

#include <polyclipping/clipper.hpp>

#include <atomic>
#include <cstdint>
#include <vector>

namespace Lamellor
{

class Mesh;

// A cut of one face through the layer plane, in micrometres.
struct SlicerSegment {
    ClipperLib::IntPoint start;
    ClipperLib::IntPoint end;
    int faceIndex = -1;
    bool addedToPolygon = false;
};

// Cuts one layer of a finished Mesh into parts. An instance can be reused for many layers of
// the same mesh (reset() between layers) so that its buffers are allocated once; it is used by
// one thread at a time, and several instances may slice one mesh concurrently.
class DlpSlicer : public QObject
{
    Q_OBJECT

  public:
    explicit DlpSlicer(QObject *parent = nullptr);
    DlpSlicer(int32_t z, int layerIndex, QObject *parent = nullptr);

    // Starts a new layer at height z (um) with the given index; keeps the attached mesh.
    void reset(int32_t z, int layerIndex);
    void setMesh(const Mesh *mesh);
    // Polled per face and while stitching; a set flag ends the current step with its log line.
    void setCancelFlag(const std::atomic<bool> *cancel) { m_cancel = cancel; }

    // Collects the faces crossing z by a scan over all faces, in face order.
    void collectFacesInLayer();
    // Uses faces already known to cross z (in face order) instead of collecting them.
    void setFacesInLayer(const int *faces, size_t count);
    void makeSegments();
    void makePolygons();

    int32_t z() const { return m_z; }
    int layerIndex() const { return m_layerIndex; }
    const std::vector<SlicePart> &parts() const { return m_parts; }
    const std::vector<SlicerSegment> &segments() const { return m_segments; }
    const std::vector<int> &facesInLayer() const { return m_faces; }
    const ClipperLib::Paths &openPolylines() const { return m_openPolylines; }

  private:
    bool cancelled() const { return m_cancel && m_cancel->load(std::memory_order_relaxed); }
    int segmentOfFace(int face) const;
    void makeBasicLoops();

    std::vector<SlicePart> m_parts;
    std::vector<SlicerSegment> m_segments;
    // Face index to segment index for the faces of this layer; -1 elsewhere. Sized to the mesh
    // once and cleared entry by entry, so a layer costs only its own faces.
    std::vector<int> m_faceToSegment;
    ClipperLib::Paths m_polygons;
    ClipperLib::Paths m_openPolylines;
    std::vector<int> m_faces;
    const Mesh *m_mesh = nullptr;
    int32_t m_z = 0;
    int m_layerIndex = 0;
    const std::atomic<bool> *m_cancel = nullptr;
};

// The segment a face gives at height z, following the six cases of which corner lies alone on
// its side of the plane (a corner exactly at z counts as above). False when none applies.
bool faceSegmentAt(const Mesh &mesh, int face, int32_t z, SlicerSegment &segment);

} // namespace Lamellor

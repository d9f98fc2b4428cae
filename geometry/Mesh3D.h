#pragma once

#include "geometry/Object3D.h"
#include "geometry/Vec3.h"

#include <functional>
#include <memory>
#include <vector>

class MeshGroupRecord;
struct SlcModel;

// A triangle mesh in millimetres: vertices, faces (indices into the vertices), one face normal
// per face, and the derived bounding box and centroid.
//
// Threading: filled by one worker, afterwards changed on the user-interface thread only; there is
// no lock. Held through std::shared_ptr.
class Mesh3D : public Object3D
{
  public:
    using ChangedCallback = std::function<void()>;

    Mesh3D() = default;
    // Copies the object fields and all geometry; the changed callback is not copied.
    Mesh3D(const Mesh3D &other);
    Mesh3D &operator=(const Mesh3D &other);
    ~Mesh3D() override;

    // Applies the column-major matrix in place: vertices by M*(p,1), face normals by M*(n,0)
    // (not renormalised), then recomputes the box and calls the changed callback.
    // The centroid is not recomputed.
    virtual void transform(const Matrix4f &matrix);

    // Deep copy with the same dynamic type where a subclass overrides it (Mesh3D copies itself).
    virtual std::shared_ptr<Mesh3D> clone() const;

    // Markers that draw one mesh shared by every marker of their size (the overhang points, the
    // end balls and rods of hand-placed supports) hold no triangles of their own: sharedShape()
    // is that mesh, built around the origin and never changed afterwards, and shapePlacement()
    // the matrix that puts it where the marker is (for balls and points only a move, by
    // shapeOffset()). Their box is that of the placed triangles. Meshes holding their own
    // triangles give null, (0, 0, 0) and the identity.
    virtual std::shared_ptr<const Mesh3D> sharedShape() const;
    virtual Vec3f shapeOffset() const;
    virtual Matrix4f shapePlacement() const;
    // Replaces out's geometry with the triangles where they are printed: for a marker its shape
    // built at its place, with the numbers a mesh of its own would hold; other meshes copy their
    // vertices, faces and face normals.
    virtual void buildPlacedShape(Mesh3D &out) const;

    std::vector<Point3f> &vertices() { return m_vertices; }
    const std::vector<Point3f> &vertices() const { return m_vertices; }
    std::vector<Face> &faces() { return m_faces; }
    const std::vector<Face> &faces() const { return m_faces; }
    std::vector<Vec3f> &faceNormals() { return m_faceNormals; }
    const std::vector<Vec3f> &faceNormals() const { return m_faceNormals; }
    // Points outlining the bounding box for drawing: the 12 box edges as 24 line end points
    // (empty while the box is empty). Made from the box when asked for.
    std::vector<Point3f> boxOutline() const;

    const Box3f &boundingBox() const { return m_box; }
    const Point3f &centroid() const { return m_centroid; }
    void setCentroid(const Point3f &c) { m_centroid = c; }

    const Vec3f &colour() const { return m_colour; }
    void setColour(const Vec3f &rgb) { m_colour = rgb; }

    const ChangedCallback &changedCallback() const { return m_changed; }
    void setChangedCallback(ChangedCallback callback) { m_changed = std::move(callback); }
    // Calls the changed callback when one is set.
    void notifyChanged() const;

    const std::shared_ptr<MeshGroupRecord> &sharedOwner() const { return m_sharedOwner; }
    void setSharedOwner(std::shared_ptr<MeshGroupRecord> owner)
    {
        m_sharedOwner = std::move(owner);
    }

    // SLC contour data; null unless sourceKind() is SourceKind::SlcContours.
    const std::shared_ptr<SlcModel> &contourData() const { return m_contourData; }
    void setContourData(std::shared_ptr<SlcModel> data) { m_contourData = std::move(data); }

    // Scans all vertices for the box (a mesh without vertices gets the empty box).
    void recomputeBounds();
    // One normal per face: normalised (p1 - p0) x (p2 - p0). A degenerate face gets (0, 0, 0).
    void computeFaceNormals();
    // Arithmetic mean of all vertex positions; (0, 0, 0) for a mesh without vertices.
    void computeCentroid();
    // recomputeBounds(), computeFaceNormals() and computeCentroid() with bit-identical results,
    // in one pass over a triangle soup (face i using vertices 3i..3i+2) and in two otherwise.
    void computeDerivedData();

    // Signed volume in mm^3: sum of p0 . (p1 x p2) / 6 over the faces (positive for a closed
    // mesh wound counter-clockwise seen from outside). Accumulated in double.
    double volume() const;
    // Volume in millilitres (mm^3 / 1000).
    double volumeMl() const { return volume() / 1000.0; }

    std::size_t triangleCount() const { return m_faces.size(); }
    std::size_t pointCount() const { return m_vertices.size(); }
    // Bounding-box max - min per axis; (0, 0, 0) for an empty box.
    Vec3f extent() const;

    // True when every face index is below the vertex count.
    bool hasValidFaces() const;

  protected:
    // Transforms the geometry only (no callback), for subclasses that chain further work.
    void transformGeometry(const Matrix4f &matrix);
    // For meshes without triangles of their own: sets the box, the centroid to the box centre
    // and the size to the box extent.
    void setShapeBounds(const Box3f &box);

  private:
    // recomputeBounds() and computeCentroid() in one pass.
    void recomputeBoundsAndCentroid();
    // True for a matrix that only translates (unit diagonal, zero off-diagonal terms).
    static bool isPureTranslation(const Matrix4f &m);
    // transformGeometry() for such a matrix (vertices, normals, box), with the same results.
    void translateGeometry(const Matrix4f &matrix);

    ChangedCallback m_changed;
    std::shared_ptr<MeshGroupRecord> m_sharedOwner;
    std::vector<Point3f> m_vertices;
    std::vector<Face> m_faces;
    std::vector<Vec3f> m_faceNormals;
    std::shared_ptr<SlcModel> m_contourData;
    Point3f m_centroid{0.0f, 0.0f, 0.0f};
    Box3f m_box;
    Vec3f m_colour{0.3f, 0.3f, 0.3f};
};

// The triangles of mesh where they are printed: mesh itself when it holds them, otherwise scratch
// filled by buildPlacedShape(). Valid while both live and neither changes.
const Mesh3D &placedTriangles(const Mesh3D &mesh, Mesh3D &scratch);
// Faces of placedTriangles() without building them.
std::size_t placedTriangleCount(const Mesh3D &mesh);

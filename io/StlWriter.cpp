#include "io/StlWriter.h"

#include "geometry/Mesh3D.h"
#include "io/DIoError.h"

#include <QSaveFile>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace
{

char *putFloat(char *p, float f)
{
    quint32 b;
    std::memcpy(&b, &f, 4);
    qToLittleEndian(b, p);
    return p + 4;
}

} // namespace

QByteArray encodeBinaryStl(const std::vector<std::shared_ptr<Mesh3D>> &meshes)
{
    quint64 total = 0;
    for (const auto &mesh : meshes)
        if (mesh)
            total += placedTriangleCount(*mesh);
    if (total > 0xFFFFFFFFull || 84 + 50 * total > quint64(std::numeric_limits<int>::max()))
        throw DIoError(QStringLiteral("Too many triangles for one STL file (%1)").arg(total));

    QByteArray out(int(84 + 50 * total), '\0');
    for (int k = 0; k < 4; ++k)
        out[80 + k] = char((total >> (8 * k)) & 0xFF);
    char *p = out.data() + 84;
    // Markers sharing one sphere are built in place here, one at a time.
    Mesh3D scratch;
    for (const auto &item : meshes) {
        if (!item)
            continue;
        const Mesh3D *mesh = &placedTriangles(*item, scratch);
        const auto &vertices = mesh->vertices();
        const auto &faces = mesh->faces();
        const auto &normals = mesh->faceNormals();
        const bool haveNormals = normals.size() == faces.size();
        for (std::size_t i = 0; i < faces.size(); ++i) {
            const Face &f = faces[i];
            Point3f corners[3];
            for (int k = 0; k < 3; ++k)
                corners[k] = f.v[k] < vertices.size() ? vertices[f.v[k]] : Point3f{};
            Vec3f n;
            if (haveNormals) {
                n = normals[i];
            } else {
                n = (corners[1] - corners[0]).cross(corners[2] - corners[0]);
                const float len = n.length();
                n = len > 0.0f ? n * (1.0f / len) : Vec3f{};
            }
            p = putFloat(putFloat(putFloat(p, n.x), n.y), n.z);
            for (const Point3f &c : corners)
                p = putFloat(putFloat(putFloat(p, c.x), c.y), c.z);
            p += 2; // attribute stays zero
        }
    }
    return out;
}

void writeBinaryStl(const QString &path, const std::vector<std::shared_ptr<Mesh3D>> &meshes)
{
    const QByteArray bytes = encodeBinaryStl(meshes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DIoError(QStringLiteral("Open scence file error: %1").arg(file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw DIoError(QStringLiteral("Open scence file error: %1").arg(file.errorString()));
}

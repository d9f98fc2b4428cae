#include "io/DIoStl.h"

#include "geometry/Model.h"
#include "io/DIoError.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr qint64 kHeaderSize = 84;
constexpr qint64 kTriangleSize = 50;

} // namespace

std::shared_ptr<Mesh3D> DIoStl::read()
{
    setLevel2(60, 0);
    const QByteArray bytes = loadInput();
    auto model = std::make_shared<Model>();
    if (!parseBinary(bytes, *model)) {
        reportCancelled();
        return nullptr;
    }
    return finish(std::move(model));
}

bool DIoStl::parseBinary(const QByteArray &bytes, Model &model) const
{
    const qint64 size = bytes.size();
    if (size < kHeaderSize)
        throw DIoError(QStringLiteral("Not a binary STL: %1 holds %2 bytes, fewer than the "
                                      "84-byte header")
                           .arg(displayName())
                           .arg(size));
    const quint32 count = qFromLittleEndian<quint32>(bytes.constData() + 80);
    const qint64 available = (size - kHeaderSize) / kTriangleSize;
    if (qint64(count) > available)
        throw DIoError(QStringLiteral("Truncated binary STL: header says %1 triangles but the "
                                      "file holds only %2")
                           .arg(count)
                           .arg(available));
    if (count == 0)
        throw DIoError(QStringLiteral("The STL file %1 holds no triangles").arg(displayName()));

    auto &vertices = model.vertices();
    auto &faces = model.faces();
    vertices.resize(std::size_t(count) * 3);
    faces.resize(count);
    const char *p = bytes.constData() + kHeaderSize;
    // Cancellation and progress per block of triangles: the percent moves far slower.
    constexpr quint32 kBlock = 16384;
    for (quint32 i = 0; i < count; ++i) {
        if (i % kBlock == 0) {
            if (isCancelled())
                return false;
            report(i, count);
        }
        const char *v = p + std::size_t(i) * kTriangleSize + 12;
        Point3f *out = &vertices[std::size_t(i) * 3];
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            static_assert(sizeof(Point3f) == 12, "Point3f must be three packed floats");
            std::memcpy(static_cast<void *>(out), v, 36);
        } else {
            for (int k = 0; k < 9; ++k) {
                const quint32 b = qFromLittleEndian<quint32>(v + 4 * k);
                float f;
                std::memcpy(&f, &b, 4);
                out[k / 3][k % 3] = f;
            }
        }
        const std::uint32_t base = i * 3;
        faces[i] = Face{{base, base + 1, base + 2}};
    }
    report(count, count);
    return true;
}

std::shared_ptr<Mesh3D> DIoStl::finish(std::shared_ptr<Model> model)
{
    setLevel2(25, 60);
    if (isCancelled() || !weld(*model)) {
        reportCancelled();
        return nullptr;
    }
    setLevel2(15, 85);
    postProcess(*model);
    if (isCancelled()) {
        reportCancelled();
        return nullptr;
    }
    return model;
}

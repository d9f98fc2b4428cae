#include "io/DIoStl.h"

#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/TextNumbers.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{

constexpr qint64 kHeaderSize = 84;
constexpr qint64 kTriangleSize = 50;
// Triangles per block: cancellation, progress and the piece read from a file at a time. The
// percent moves far slower, and a block of file bytes stays in cache while it is parsed.
constexpr quint32 kBlock = 16384;

} // namespace

std::shared_ptr<Mesh3D> DIoStl::read()
{
    setLevel2(60, 0);
    auto model = std::make_shared<Model>();
    QFile file;
    const bool completed =
        openForStreaming(file) ? streamBinary(file, *model) : parseBinary(loadInput(), *model);
    if (!completed) {
        reportCancelled();
        return nullptr;
    }
    return finish(std::move(model));
}

quint32 DIoStl::checkedTriangleCount(const char *header, qint64 size) const
{
    if (size < kHeaderSize)
        throw DIoError(QStringLiteral("Not a binary STL: %1 holds %2 bytes, fewer than the "
                                      "84-byte header")
                           .arg(displayName())
                           .arg(size));
    const quint32 count = qFromLittleEndian<quint32>(header + 80);
    const qint64 available = (size - kHeaderSize) / kTriangleSize;
    if (qint64(count) > available)
        throw DIoError(QStringLiteral("Truncated binary STL: header says %1 triangles but the "
                                      "file holds only %2")
                           .arg(count)
                           .arg(available));
    if (count == 0)
        throw DIoError(QStringLiteral("The STL file %1 holds no triangles").arg(displayName()));
    return count;
}

void DIoStl::appendTriangles(const char *records, quint32 first, quint32 n, Model &model)
{
    auto &vertices = model.vertices();
    auto &faces = model.faces();
    // Grown block by block inside the reserved room, so the zero-fill of the resize touches
    // memory that the copy below overwrites while it is still in cache.
    vertices.resize(std::size_t(first + n) * 3);
    faces.resize(std::size_t(first) + n);
    for (quint32 j = 0; j < n; ++j) {
        const quint32 i = first + j;
        const char *v = records + std::size_t(j) * kTriangleSize + 12;
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
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 3; ++c)
                if (!usableCoordinate(out[k][c]))
                    throw DIoError(QStringLiteral("Bad binary STL: triangle %1 (record at byte "
                                                  "%2) has a coordinate %3")
                                       .arg(i + 1)
                                       .arg(qint64(kHeaderSize) + qint64(i) * kTriangleSize)
                                       .arg(std::isfinite(out[k][c])
                                                ? QStringLiteral("beyond +-1000000 mm")
                                                : QStringLiteral("that is not a finite number")));
        const std::uint32_t base = i * 3;
        faces[i] = Face{{base, base + 1, base + 2}};
    }
}

bool DIoStl::parseBinary(const QByteArray &bytes, Model &model) const
{
    const quint32 count = checkedTriangleCount(bytes.constData(), bytes.size());
    model.vertices().reserve(std::size_t(count) * 3);
    model.faces().reserve(count);
    const char *p = bytes.constData() + kHeaderSize;
    for (quint32 first = 0; first < count; first += kBlock) {
        if (isCancelled())
            return false;
        report(first, count);
        const quint32 n = std::min(kBlock, count - first);
        appendTriangles(p + std::size_t(first) * kTriangleSize, first, n, model);
    }
    report(count, count);
    return true;
}

bool DIoStl::streamBinary(QFile &file, Model &model) const
{
    const qint64 size = file.size();
    char header[kHeaderSize] = {};
    if (size >= kHeaderSize)
        readExactly(file, header, kHeaderSize);
    const quint32 count = checkedTriangleCount(header, size);
    model.vertices().reserve(std::size_t(count) * 3);
    model.faces().reserve(count);
    std::vector<char> block(std::size_t(std::min(kBlock, count)) * kTriangleSize);
    for (quint32 first = 0; first < count; first += kBlock) {
        if (isCancelled())
            return false;
        report(first, count);
        const quint32 n = std::min(kBlock, count - first);
        readExactly(file, block.data(), qint64(n) * kTriangleSize);
        appendTriangles(block.data(), first, n, model);
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

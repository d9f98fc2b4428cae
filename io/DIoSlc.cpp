#include "io/DIoSlc.h"

#include "geometry/Model.h"
#include "geometry/SlcModel.h"
#include "io/DIoError.h"
#include "io/TextNumbers.h"

#include <QList>
#include <QtEndian>

#include <cstring>

namespace
{

constexpr int kHeaderScan = 2048;
constexpr int kReservedBytes = 256;
constexpr quint32 kEndMarker = 0xFFFFFFFFu;

// Little-endian cursor over the file bytes; every read is checked against the end.
class Cursor
{
  public:
    Cursor(const QByteArray &bytes, qint64 pos)
        : m_data(bytes.constData()), m_size(bytes.size()), m_pos(pos)
    {
    }

    qint64 position() const { return m_pos; }
    qint64 remaining() const { return m_size - m_pos; }

    void need(qint64 n, const char *what) const
    {
        if (n < 0 || remaining() < n)
            throw DIoError(QStringLiteral("Truncated SLC file: %1 runs past the end of the file "
                                          "(offset %2)")
                               .arg(QLatin1String(what))
                               .arg(m_pos));
    }
    void skip(qint64 n, const char *what)
    {
        need(n, what);
        m_pos += n;
    }
    quint8 u8(const char *what)
    {
        need(1, what);
        return quint8(m_data[m_pos++]);
    }
    quint32 u32(const char *what)
    {
        need(4, what);
        const quint32 v = qFromLittleEndian<quint32>(m_data + m_pos);
        m_pos += 4;
        return v;
    }
    float f32(const char *what)
    {
        const quint32 b = u32(what);
        float f;
        std::memcpy(&f, &b, 4);
        return f;
    }

  private:
    const char *m_data;
    qint64 m_size;
    qint64 m_pos;
};

void scanHeaderWords(const QByteArray &text, SlcModel &contours)
{
    const QList<QByteArray> words = text.toLower().simplified().split(' ');
    for (int i = 0; i < words.size(); ++i) {
        const QByteArray &w = words.at(i);
        if (w == "-unit") {
            if (i + 1 < words.size())
                contours.unit = words.at(++i);
        } else if (w == "-extents") {
            i += 12;
        } else if (w.contains("package")) {
            if (i + 1 < words.size())
                contours.package = words.at(++i);
        }
    }
}

} // namespace

DIoSlc::DIoSlc()
{
    m_sourceKind = 1;
}

std::shared_ptr<Mesh3D> DIoSlc::read()
{
    setLevel2(85, 0);
    const QByteArray bytes = loadInput();
    auto model = std::make_shared<Model>();
    auto contours = std::make_shared<SlcModel>();
    model->setSourceKind(1);
    model->setContourData(contours);

    const QByteArray head = bytes.left(kHeaderScan);
    const int headerEnd = head.indexOf(QByteArray("\r\n\x1a", 3));
    if (headerEnd < 0)
        throw DIoError(QStringLiteral("Not an SLC file: no header end (0D 0A 1A) in the first "
                                      "2048 bytes of %1")
                           .arg(displayName()));
    scanHeaderWords(head.left(headerEnd), *contours);

    Cursor in(bytes, headerEnd + 3);
    in.skip(kReservedBytes, "the reserved block");
    const int tableSize = in.u8("the sampling table size");
    in.need(qint64(tableSize) * 16, "the sampling table");
    for (int i = 0; i < tableSize; ++i) {
        contours->minZ = in.f32("the sampling table");
        contours->layerThickness = in.f32("the sampling table");
        in.skip(8, "the sampling table");
        if (!usableCoordinate(contours->minZ) || !usableCoordinate(contours->layerThickness))
            throw DIoError(QStringLiteral("Bad SLC file: entry %1 of the sampling table holds a "
                                          "height that is not a finite number within "
                                          "+-1000000 mm (offset %2)")
                               .arg(i + 1)
                               .arg(in.position() - 16));
    }

    auto &vertices = model->vertices();
    const qint64 size = qMax<qint64>(bytes.size(), 1);
    int lastPercent = -1;
    bool cancelled = false;
    bool ended = false;
    while (!cancelled) {
        const float z = in.f32("a layer");
        const quint32 boundaryCount = in.u32("a layer");
        if (!usableCoordinate(z))
            throw DIoError(QStringLiteral("Bad SLC file: layer %1 has the height %2, not a finite "
                                          "number within +-1000000 mm (offset %3)")
                               .arg(contours->layers.size() + 1)
                               .arg(double(z))
                               .arg(in.position() - 8));
        if (boundaryCount == kEndMarker) {
            contours->maxZ = z;
            ended = true;
            break;
        }
        // Each boundary takes at least 8 bytes: reject lying counts before allocating.
        if (boundaryCount > quint32(0x7FFFFFFF))
            throw DIoError(QStringLiteral("Malformed SLC file: boundary count %1 at offset %2")
                               .arg(boundaryCount)
                               .arg(in.position() - 4));
        in.need(qint64(boundaryCount) * 8, "the boundaries of a layer");
        SlcModel::Layer layer;
        layer.reserve(boundaryCount);
        for (quint32 b = 0; b < boundaryCount; ++b) {
            if (isCancelled()) {
                cancelled = true;
                break;
            }
            const quint32 vertexCount = in.u32("a boundary");
            in.u32("a boundary"); // gap count
            if (vertexCount > quint32(0x7FFFFFFF))
                throw DIoError(QStringLiteral("Malformed SLC file: vertex count %1 at offset %2")
                                   .arg(vertexCount)
                                   .arg(in.position() - 8));
            in.need(qint64(vertexCount) * 8, "the vertices of a boundary");
            if (vertices.size() + vertexCount > std::size_t(0xFFFFFFF0u))
                throw DIoError(QStringLiteral("The SLC file %1 holds too many contour points")
                                   .arg(displayName()));
            SlcModel::Contour contour;
            contour.reserve(vertexCount);
            for (quint32 v = 0; v < vertexCount; ++v) {
                const float x = in.f32("a vertex");
                const float y = in.f32("a vertex");
                if (!usableCoordinate(x) || !usableCoordinate(y))
                    throw DIoError(QStringLiteral("Bad SLC file: point %1 of boundary %2 of layer "
                                                  "%3 is not a finite position within +-1000000 "
                                                  "mm (offset %4)")
                                       .arg(v + 1)
                                       .arg(b + 1)
                                       .arg(contours->layers.size() + 1)
                                       .arg(in.position() - 8));
                contour.push_back(std::uint32_t(vertices.size()));
                vertices.push_back({x, y, z});
            }
            layer.push_back(std::move(contour));
            const int percent = int(in.position() * 100 / size);
            if (percent != lastPercent) {
                lastPercent = percent;
                report(in.position(), size);
            }
        }
        contours->layers.push_back(std::move(layer));
    }

    if (cancelled) {
        reportCancelled();
        if (vertices.empty())
            return nullptr;
    } else if (!ended) {
        throw DIoError(QStringLiteral("Truncated SLC file: no end marker"));
    }
    if (vertices.empty())
        throw DIoError(QStringLiteral("The SLC file %1 holds no contours").arg(displayName()));
    setLevel2(15, 85);
    postProcess(*model);
    return model;
}

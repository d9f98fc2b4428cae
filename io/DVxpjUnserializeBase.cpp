#include "io/DVxpjUnserializeBase.h"

#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "geometry/SlcModel.h"
#include "geometry/Support.h"
#include "io/DIoError.h"
#include "io/TextNumbers.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace
{

// Elements read between two cancel checks and progress reports.
constexpr std::int64_t Chunk = 16384;

static_assert(sizeof(Point3f) == Vxpj::PointBytes, "points are read in place");
static_assert(sizeof(Face) == Vxpj::FaceBytes, "faces are read in place");

// The file is little-endian; on a big-endian host the words read in place are turned round.
template <typename T> void fromFileOrder(T *data, std::int64_t count)
{
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    auto *words = reinterpret_cast<quint32 *>(data);
    const std::int64_t n = count * std::int64_t(sizeof(T) / 4);
    for (std::int64_t i = 0; i < n; ++i)
        words[i] = qFromLittleEndian(words[i]);
#else
    Q_UNUSED(data);
    Q_UNUSED(count);
#endif
}

} // namespace

DVxpjUnserializeBase::DVxpjUnserializeBase(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw DIoError(Vxpj::openReadError());
    m_size = file->size();
    m_device = file.get();
    m_ownedDevice = std::move(file);
}

DVxpjUnserializeBase::DVxpjUnserializeBase(QIODevice *device) : m_device(device)
{
    if (!m_device || !m_device->isReadable() || m_device->isSequential())
        throw DIoError(Vxpj::openReadError());
    m_pos = m_device->pos();
    m_size = m_device->size();
}

DVxpjUnserializeBase::~DVxpjUnserializeBase() = default;

bool DVxpjUnserializeBase::load()
{
    m_models.clear();
    m_currentModel = 0;
    readHeader();
    for (int i = 1; i <= m_modelCount; ++i)
        readModel(i, m_modelCount);
    m_currentModel = 0;
    readNameBlock();
    setLevel(QStringLiteral("level2"), {5, 95, QStringLiteral("pct")});
    report(1, 1, Vxpj::stageDone());
    return true;
}

void DVxpjUnserializeBase::readHeader()
{
    readInt32("the header length");
    const std::int32_t magicLength = readInt32("the header");
    if (magicLength < 0 || magicLength > Vxpj::MaxMagicLength)
        fail(QStringLiteral("the magic length %1 is outside 0 to %2")
                 .arg(magicLength)
                 .arg(Vxpj::MaxMagicLength));
    skip(magicLength, "the magic");
    m_fileVersion = readInt32("the version");
    if (m_fileVersion < Vxpj::OldestVersion || m_fileVersion > version()) {
        throw DIoError(
            QStringLiteral("Version error,current software version supported vxpj version is ") +
            QString::number(version()) + QStringLiteral(", this vxpj version is :") +
            QString::number(m_fileVersion));
    }
    const std::int32_t count = readInt32("the model count");
    skip(Vxpj::ReservedBytes, "the reserved header block");
    // Every model record takes at least its 4-byte kind.
    if (count < 0 || std::int64_t(count) * 4 > remaining())
        fail(QStringLiteral("the model count %1 does not fit into the file").arg(count));
    m_modelCount = count;
}

void DVxpjUnserializeBase::readModel(int index, int count)
{
    m_currentModel = index;
    setLevel(QStringLiteral("level2"), {index, count, QStringLiteral("avg")});
    auto model = std::make_shared<Model>();
    model->setIndexed(true);
    const std::int32_t kind = readInt32("the model kind");
    if (kind == Vxpj::MeshRecord) {
        readOverhangBlock(*model);
        readManualSupportBlock(*model);
        readParameterBlock(*model);
    } else if (kind == Vxpj::ContourRecord) {
        model->setSourceKind(SourceKind::SlcContours);
        readContourValues(*model);
    } else {
        fail(QStringLiteral("unknown model kind %1").arg(kind));
    }

    setLevel(QStringLiteral("level3"), {40, 0, QStringLiteral("pct")});
    readPointBlock(*model);
    setLevel(QStringLiteral("level3"), {40, 40, QStringLiteral("pct")});
    if (kind == Vxpj::MeshRecord)
        readFaceBlock(*model);
    else
        readLayerBlock(*model);
    checkNumbers(*model);
    m_models.push_back(std::move(model));
}

void DVxpjUnserializeBase::readOverhangBlock(Model &model)
{
    model.setOverhangsFlag(readBool("the overhang block"));
    const std::int32_t count = readCount("overhang", overhangRecordBytes());
    OverhangList &overhangs = model.overhangs();
    overhangs.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        checkCancel();
        const Vec3f normal = readPoint("an overhang");
        const Point3f position = readPoint("an overhang");
        const float radius = readFloat("an overhang");
        const float size = readOverhangSize(radius);
        overhangs.push_back(std::make_shared<Overhang>(position, normal, radius, size));
    }
}

void DVxpjUnserializeBase::readParameterBlock(Model &model)
{
    model.supportParameters() = SupportParameters();
    // An empty support object marks the model for generating its supports again.
    model.setSupport(std::make_shared<Support>());
    readParameterFields(model);
}

void DVxpjUnserializeBase::readContourValues(Model &model)
{
    auto slc = std::make_shared<SlcModel>();
    slc->layerThickness = readFloat("the contour values");
    slc->minZ = readFloat("the contour values");
    slc->maxZ = readFloat("the contour values");
    model.setContourData(std::move(slc));
}

void DVxpjUnserializeBase::readPointBlock(Model &model)
{
    const std::int32_t count = readCount("point", Vxpj::PointBytes);
    std::vector<Point3f> &vertices = model.vertices();
    vertices.clear();
    vertices.reserve(std::size_t(count));
    for (std::int64_t done = 0; done < count;) {
        checkCancel();
        const std::int64_t n = std::min<std::int64_t>(Chunk, count - done);
        // Growing chunk by chunk keeps the part being filled in cache.
        vertices.resize(std::size_t(done + n));
        readRaw(reinterpret_cast<char *>(vertices.data() + done), n * Vxpj::PointBytes,
                "the point block");
        fromFileOrder(vertices.data() + done, n);
        done += n;
        report(done, count, Vxpj::stageLoadPoints());
    }
}

void DVxpjUnserializeBase::readFaceBlock(Model &model)
{
    const std::int32_t count = readCount("face", Vxpj::FaceBytes);
    const std::uint32_t points = std::uint32_t(model.vertices().size());
    std::vector<Face> &faces = model.faces();
    faces.clear();
    faces.reserve(std::size_t(count));
    for (std::int64_t done = 0; done < count;) {
        checkCancel();
        const std::int64_t n = std::min<std::int64_t>(Chunk, count - done);
        faces.resize(std::size_t(done + n));
        Face *first = faces.data() + done;
        readRaw(reinterpret_cast<char *>(first), n * Vxpj::FaceBytes, "the face block");
        fromFileOrder(first, n);
        // Branch-free test of the whole chunk first; a negative index read as unsigned is
        // beyond every point as well.
        std::uint32_t beyond = 0;
        for (std::int64_t i = 0; i < n; ++i) {
            const Face &f = first[i];
            beyond |= std::uint32_t(f[0] >= points) | std::uint32_t(f[1] >= points) |
                      std::uint32_t(f[2] >= points);
        }
        if (beyond) {
            for (std::int64_t i = 0; i < n; ++i) {
                for (int k = 0; k < 3; ++k) {
                    if (first[i][k] >= points)
                        fail(QStringLiteral("face %1 refers to point %2 of %3 points")
                                 .arg(done + i)
                                 .arg(qint32(first[i][k]))
                                 .arg(points));
                }
            }
        }
        done += n;
        report(done, count, Vxpj::stageLoadTopology());
    }
}

void DVxpjUnserializeBase::readLayerBlock(Model &model)
{
    const std::int32_t layerCount = readCount("layer", 4);
    const std::uint32_t points = std::uint32_t(model.vertices().size());
    std::vector<SlcModel::Layer> &layers = model.contourData()->layers;
    layers.resize(std::size_t(layerCount));
    for (std::int32_t l = 0; l < layerCount; ++l) {
        checkCancel();
        SlcModel::Layer &layer = layers[std::size_t(l)];
        layer.resize(std::size_t(readCount("contour", 4)));
        for (SlcModel::Contour &contour : layer) {
            const std::int32_t n = readCount("contour point", 4);
            contour.resize(std::size_t(n));
            readRaw(reinterpret_cast<char *>(contour.data()), std::int64_t(n) * 4,
                    "the layer block");
            fromFileOrder(contour.data(), n);
            for (std::uint32_t index : contour) {
                if (index >= points)
                    fail(QStringLiteral("a contour of layer %1 refers to point %2 of %3 points")
                             .arg(l)
                             .arg(qint32(index))
                             .arg(points));
            }
        }
        report(l + 1, layerCount, Vxpj::stageLoadTopology());
    }
}

std::int32_t DVxpjUnserializeBase::readInt32(const char *what)
{
    char bytes[4];
    readRaw(bytes, 4, what);
    return qFromLittleEndian<qint32>(bytes);
}

float DVxpjUnserializeBase::readFloat(const char *what)
{
    char bytes[4];
    readRaw(bytes, 4, what);
    return qFromLittleEndian<float>(bytes);
}

bool DVxpjUnserializeBase::readBool(const char *what)
{
    char byte = 0;
    readRaw(&byte, 1, what);
    return byte != 0;
}

Point3f DVxpjUnserializeBase::readPoint(const char *what)
{
    char bytes[12];
    readRaw(bytes, 12, what);
    return {qFromLittleEndian<float>(bytes), qFromLittleEndian<float>(bytes + 4),
            qFromLittleEndian<float>(bytes + 8)};
}

QByteArray DVxpjUnserializeBase::readBytes(std::int64_t count, const char *what)
{
    if (count < 0 || count > remaining())
        fail(QStringLiteral("the file ends early in %1").arg(QLatin1String(what)));
    QByteArray bytes(int(count), Qt::Uninitialized);
    readRaw(bytes.data(), count, what);
    return bytes;
}

void DVxpjUnserializeBase::skip(std::int64_t count, const char *what)
{
    if (count < 0 || count > remaining())
        fail(QStringLiteral("the file ends early in %1").arg(QLatin1String(what)));
    if (!m_device->seek(m_pos + count))
        fail(QStringLiteral("cannot read %1").arg(QLatin1String(what)));
    m_pos += count;
}

std::int32_t DVxpjUnserializeBase::readCount(const char *what, std::int64_t recordBytes)
{
    const std::int32_t count = readInt32(what);
    if (count < 0)
        fail(QStringLiteral("negative %1 count %2").arg(QLatin1String(what)).arg(count));
    if (std::int64_t(count) * recordBytes > remaining())
        fail(QStringLiteral("the %1 count %2 does not fit into the rest of the file")
                 .arg(QLatin1String(what))
                 .arg(count));
    return count;
}

void DVxpjUnserializeBase::readRaw(char *data, std::int64_t bytes, const char *what)
{
    if (bytes > remaining())
        fail(QStringLiteral("the file ends early in %1").arg(QLatin1String(what)));
    if (bytes == 0)
        return;
    if (m_device->read(data, bytes) != bytes)
        fail(QStringLiteral("cannot read %1").arg(QLatin1String(what)));
    m_pos += bytes;
}

void DVxpjUnserializeBase::fail(const QString &detail) const
{
    QString message = Vxpj::damaged() + detail;
    if (m_currentModel > 0)
        message += QStringLiteral(" (model %1)").arg(m_currentModel);
    throw DIoError(message);
}

void DVxpjUnserializeBase::checkCancel() const
{
    if (isCancelled())
        throw DIoError(Vxpj::readCancelled());
}

void DVxpjUnserializeBase::checkNumbers(const Model &model)
{
    // NaN or absurd positions would travel into the layout, the support routing and the slice
    // engine, where they turn into undefined integer conversions.
    auto point = [](const Point3f &p) {
        return usableCoordinate(p.x) && usableCoordinate(p.y) && usableCoordinate(p.z);
    };
    const std::vector<Point3f> &vertices = model.vertices();
    for (std::size_t i = 0; i < vertices.size(); ++i)
        if (!point(vertices[i]))
            fail(
                QStringLiteral("point %1 is not a finite position within +-1000000 mm").arg(i + 1));
    const OverhangList &overhangs = model.overhangs();
    for (std::size_t i = 0; i < overhangs.size(); ++i) {
        const Overhang &o = *overhangs[i];
        if (!point(o.position()) || !point(o.direction()) || !usableCoordinate(o.overhangRadius()))
            fail(QStringLiteral("overhang %1 holds a number that is not finite or out of range")
                     .arg(i + 1));
    }
    const SupportParameters &sp = model.supportParameters();
    for (const float v : {sp.supportRadius, sp.baseExtern, sp.baseHeight, sp.overhangRadius,
                          sp.supportGaps, sp.supportHeight, sp.linkPointRadius})
        if (!usableCoordinate(v))
            fail(QStringLiteral("the support parameters hold a number that is not finite or out "
                                "of range"));
    if (const auto &slc = model.contourData())
        if (!usableCoordinate(slc->layerThickness) || !usableCoordinate(slc->minZ) ||
            !usableCoordinate(slc->maxZ))
            fail(QStringLiteral("the contour values are not finite or out of range"));
}

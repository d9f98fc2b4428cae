#include "io/DIoBase.h"

#include "geometry/IProgressable.h"
#include "geometry/Mesh3D.h"
#include "io/DIoError.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <limits>
#include <vector>

namespace
{

const QString kStage = QStringLiteral("ModalLoding");

// Open-addressing hash set of vertex positions, keyed by their bit patterns (-0 folded to +0),
// storing indices into the list of distinct positions.
class PositionIndex
{
  public:
    explicit PositionIndex(std::size_t expected)
    {
        std::size_t capacity = 16;
        while (capacity < expected * 2)
            capacity <<= 1;
        m_mask = capacity - 1;
        m_slots.assign(capacity, kEmpty);
    }

    // Returns the index of key in distinct, appending it when new.
    std::uint32_t findOrInsert(const Point3f &p, std::vector<Point3f> &distinct)
    {
        const Key key = keyOf(p);
        std::size_t slot = hash(key) & m_mask;
        for (;;) {
            const std::uint32_t idx = m_slots[slot];
            if (idx == kEmpty) {
                const auto added = std::uint32_t(distinct.size());
                m_slots[slot] = added;
                distinct.push_back(p);
                m_keys.push_back(key);
                if (m_keys.size() * 2 > m_mask + 1)
                    grow();
                return added;
            }
            if (m_keys[idx] == key)
                return idx;
            slot = (slot + 1) & m_mask;
        }
    }

  private:
    void grow()
    {
        const std::size_t capacity = (m_mask + 1) * 2;
        m_mask = capacity - 1;
        m_slots.assign(capacity, kEmpty);
        for (std::uint32_t i = 0; i < m_keys.size(); ++i) {
            std::size_t slot = hash(m_keys[i]) & m_mask;
            while (m_slots[slot] != kEmpty)
                slot = (slot + 1) & m_mask;
            m_slots[slot] = i;
        }
    }

    struct Key {
        std::uint32_t x, y, z;
        bool operator==(const Key &o) const { return x == o.x && y == o.y && z == o.z; }
    };

    static std::uint32_t bits(float f)
    {
        if (f == 0.0f)
            f = 0.0f; // fold -0 into +0: equal positions must weld
        std::uint32_t b;
        std::memcpy(&b, &f, 4);
        return b;
    }
    static Key keyOf(const Point3f &p) { return {bits(p.x), bits(p.y), bits(p.z)}; }
    static std::size_t hash(const Key &k)
    {
        std::uint64_t h = k.x * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) ^ (std::uint64_t(k.y) * 0xC2B2AE3D27D4EB4Full);
        h ^= (h >> 31) ^ (std::uint64_t(k.z) * 0x165667B19E3779F9ull);
        h ^= h >> 32;
        h *= 0xD6E8FEB86659FD93ull;
        h ^= h >> 32;
        return std::size_t(h);
    }

    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::size_t m_mask = 0;
    std::vector<std::uint32_t> m_slots;
    std::vector<Key> m_keys;
};

} // namespace

DIoBase::~DIoBase() = default;

void DIoBase::setProgress(IProgressable *progress)
{
    m_progress = progress;
}

void DIoBase::setFileName(const QString &fileName)
{
    m_fileName = fileName;
}

void DIoBase::setData(const QByteArray &bytes)
{
    m_data = bytes;
    m_hasData = true;
}

namespace
{

// Largest input loadInput() accepts (one QByteArray).
constexpr qint64 kMaxInputSize = std::numeric_limits<int>::max() - 64;

} // namespace

QByteArray DIoBase::loadInput() const
{
    if (m_hasData)
        return m_data;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw DIoError(QStringLiteral("Cannot open %1: %2").arg(displayName(), file.errorString()));
    const qint64 size = file.size();
    QByteArray bytes;
    if (size > 0) {
        if (size > kMaxInputSize)
            throw DIoError(
                QStringLiteral("%1 is too large to read (%2 bytes)").arg(displayName()).arg(size));
        bytes.resize(int(size));
        readExactly(file, bytes.data(), size);
    } else {
        bytes = file.readAll(); // size unknown (pipes, special files)
    }
    return bytes;
}

bool DIoBase::openForStreaming(QFile &file) const
{
    if (m_hasData)
        return false;
    file.setFileName(m_fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw DIoError(QStringLiteral("Cannot open %1: %2").arg(displayName(), file.errorString()));
    if (file.isSequential() || file.size() <= 0 || file.size() > kMaxInputSize) {
        file.close();
        return false;
    }
    return true;
}

void DIoBase::readExactly(QFile &file, char *to, qint64 n) const
{
    qint64 done = 0;
    while (done < n) {
        const qint64 got = file.read(to + done, n - done);
        if (got <= 0)
            break;
        done += got;
    }
    if (done != n)
        throw DIoError(QStringLiteral("Cannot read %1: %2").arg(displayName(), file.errorString()));
}

QString DIoBase::displayName() const
{
    return m_fileName.isEmpty() ? QStringLiteral("the data") : QFileInfo(m_fileName).fileName();
}

bool DIoBase::isCancelled() const
{
    return m_progress && m_progress->isCancelled();
}

void DIoBase::report(std::int64_t current, std::int64_t total) const
{
    if (m_progress)
        m_progress->report(current, total, kStage);
}

void DIoBase::setLevel2(int span, int start) const
{
    setLevel(QStringLiteral("level2"), span, start, QStringLiteral("pct"));
}

void DIoBase::setLevel(const QString &name, int first, int second, const QString &unit) const
{
    if (m_progress)
        m_progress->setLevel(name, ProgressRange{first, second, unit});
}

void DIoBase::reportCancelled() const
{
    setLevel(QStringLiteral("level1"), 100, 0, QStringLiteral("pct"));
    report(100, 100);
}

void DIoBase::postProcess(Mesh3D &mesh)
{
    mesh.computeDerivedData();
    mesh.setSize(mesh.extent());
    report(1, 3);
    report(2, 3);
    report(3, 3);
}

bool DIoBase::weld(Mesh3D &mesh)
{
    if (mesh.vertices().size() <= weldThreshold() || mesh.sourceKind() == 1)
        return true;
    return weldAlways(mesh);
}

bool DIoBase::weldAlways(Mesh3D &mesh)
{
    const std::vector<Point3f> &soup = mesh.vertices();
    std::vector<Face> faces = mesh.faces();
    const std::size_t faceCount = faces.size();
    std::vector<Point3f> distinct;
    distinct.reserve(soup.size() / 4 + 16);
    PositionIndex index(soup.size() / 4 + 16);

    // Polling per face is too costly; percent steps are far coarser than this stride.
    constexpr std::size_t kStride = 4096;
    for (std::size_t j = 0; j < faceCount; ++j) {
        if (j % kStride == 0) {
            if (isCancelled())
                return false;
            report(std::int64_t(j), std::int64_t(faceCount));
        }
        Face &f = faces[j];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t v = f.v[k];
            if (v >= soup.size())
                throw DIoError(QStringLiteral("Face %1 refers to a missing vertex").arg(j));
            f.v[k] = index.findOrInsert(soup[v], distinct);
        }
    }
    report(std::int64_t(faceCount), std::int64_t(faceCount));
    distinct.shrink_to_fit();
    mesh.vertices() = std::move(distinct);
    mesh.faces() = std::move(faces);
    mesh.setIndexed(true);
    return true;
}

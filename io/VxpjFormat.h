#pragma once

#include "geometry/Vec3.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

struct ManualSupports;

// Layout constants and message texts of the project file (.vxpj). All numbers in the file are
// little-endian, without padding.
namespace Vxpj
{

constexpr std::int32_t CurrentVersion = 5;
constexpr std::int32_t OldestVersion = 1;
inline const QByteArray &magic()
{
    static const QByteArray m("Orvane DLP Engineering Bag");
    return m;
}
// Offset of the reserved block for the standard magic: 4 + 4 + 26 + 4 + 4.
constexpr std::int32_t HeaderLength = 42;
constexpr int ReservedBytes = 256;
// Readers refuse longer magics: the standard one has 26 bytes.
constexpr std::int32_t MaxMagicLength = 255;

// Source kinds of a model record.
constexpr std::int32_t MeshRecord = 0;
constexpr std::int32_t ContourRecord = 1;

// Byte sizes of the fixed records.
constexpr int PointBytes = 12;
constexpr int FaceBytes = 12;
constexpr int RodBytes = 4 * 4 + 4 * 4 + 4 + 4 + 1;

// Texts carried by the errors and the progress reports.
inline QString openWriteError()
{
    return QStringLiteral("Vxpj file open error");
}
inline QString headerWriteError()
{
    return QStringLiteral("serialize vxpj header error");
}
inline QString writeCancelled()
{
    return QStringLiteral("Vxpj file write cancle");
}
inline QString versionReadError()
{
    return QStringLiteral("vxpj file version read error");
}
inline QString unserializeFailed()
{
    return QStringLiteral("vxpj unserialize failed");
}
inline QString openReadError()
{
    return QStringLiteral("VxpjV1 Open file error");
}
inline QString readCancelled()
{
    return QStringLiteral("Canceled");
}
// Prefix of every message about a file whose content cannot be right.
inline QString damaged()
{
    return QStringLiteral("Vxpj file damaged: ");
}

inline QString stageSavePoints()
{
    return QStringLiteral("Save Points Datas");
}
inline QString stageSaveTopology()
{
    return QStringLiteral("Save Topo Info");
}
inline QString stageLoadPoints()
{
    return QStringLiteral("Load Points Datas");
}
inline QString stageLoadTopology()
{
    return QStringLiteral("Load Topo Datas");
}
inline QString stageDone()
{
    return QStringLiteral("Success Saved");
}

// One hand-placed support rod as the file stores it: the two end balls and the rod radii.
struct Rod {
    Point3f top;
    float topRadius = 0.0f;
    Point3f bottom;
    float bottomRadius = 0.0f;
    float rodTopRadius = 0.0f;
    float rodBottomRadius = 0.0f;
    bool flag = false;
};

// Converts between a model's manual supports and the rods of the file. The supports library
// owns the rod and ball classes, so the project code reaches them only through this pair.
struct RodCodec {
    // The rods (cylinders only, in array order) of a model's manual supports.
    std::function<std::vector<Rod>(const ManualSupports &)> toRods;
    // Replaces the manual supports with pieces built from the rods.
    std::function<void(const std::vector<Rod> &, ManualSupports &)> fromRods;

    bool isValid() const { return toRods && fromRods; }
};

} // namespace Vxpj

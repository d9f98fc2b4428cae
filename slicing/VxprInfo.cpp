#include "slicing/VxprInfo.h"

#include "slicing/VxprLayout.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <cstring>

namespace OrvaneDlp
{

namespace
{

bool readExactly(QIODevice &device, char *data, qint64 size)
{
    return device.read(data, size) == size;
}

bool readInt32(QIODevice &device, int32_t *value)
{
    char bytes[4];
    if (!readExactly(device, bytes, 4))
        return false;
    *value = qFromLittleEndian<int32_t>(bytes);
    return true;
}

bool readFloat(QIODevice &device, float *value)
{
    char bytes[4];
    if (!readExactly(device, bytes, 4))
        return false;
    const uint32_t bits = qFromLittleEndian<uint32_t>(bytes);
    std::memcpy(value, &bits, 4);
    return true;
}

bool failWith(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool readVxprInfo(QIODevice &device, VxprInfo *info, QString *error)
{
    VxprInfo result;
    const qint64 size = device.size();
    if (size < VxprLayout::kFirstLayerOffset)
        return failWith(error, QStringLiteral("Truncated package: %1 bytes, the header and "
                                              "previews alone take %2")
                                   .arg(size)
                                   .arg(VxprLayout::kFirstLayerOffset));
    int32_t headerLength = 0, titleLength = 0, version = 0, layerCount = 0;
    char title[VxprLayout::kTitleLength];
    if (!readInt32(device, &headerLength) || !readInt32(device, &titleLength))
        return failWith(error, QStringLiteral("Cannot read the package header"));
    if (headerLength != VxprLayout::kHeaderLength || titleLength != VxprLayout::kTitleLength)
        return failWith(error, QStringLiteral("Not a work package: unexpected header length"));
    if (!readExactly(device, title, VxprLayout::kTitleLength) ||
        std::memcmp(title, VxprLayout::kTitle, VxprLayout::kTitleLength) != 0)
        return failWith(error, QStringLiteral("Not a work package: unexpected title"));
    result.title = QString::fromLatin1(title, VxprLayout::kTitleLength);
    if (!readInt32(device, &version) || !readFloat(device, &result.firstSliceHeight) ||
        !readFloat(device, &result.lastSliceHeight) || !readFloat(device, &result.layerThickness) ||
        !readInt32(device, &layerCount) || !readFloat(device, &result.volumeMl))
        return failWith(error, QStringLiteral("Cannot read the package header"));
    if (version != VxprLayout::kVersion)
        return failWith(error, QStringLiteral("Unsupported package version %1").arg(version));
    if (layerCount < 0)
        return failWith(error, QStringLiteral("Malformed package: negative layer count"));
    result.version = version;
    result.layerCount = layerCount;

    if (!device.seek(VxprLayout::kFirstLayerOffset))
        return failWith(error, QStringLiteral("Cannot seek to the layer records"));
    qint64 pos = VxprLayout::kFirstLayerOffset;
    while (pos < size) {
        const int layer = result.layerRecords;
        if (layer >= layerCount)
            return failWith(error, QStringLiteral("Malformed package: data after the %1 layers "
                                                  "the header states")
                                       .arg(layerCount));
        float z = 0;
        int32_t paths = 0;
        if (size - pos < 8 || !readFloat(device, &z) || !readInt32(device, &paths))
            return failWith(error, QStringLiteral("Truncated package: layer %1 is cut").arg(layer));
        pos += 8;
        if (paths < 0 || qint64(paths) * 4 > size - pos)
            return failWith(error, QStringLiteral("Malformed package: layer %1 states %2 paths")
                                       .arg(layer)
                                       .arg(paths));
        for (int32_t p = 0; p < paths; ++p) {
            int32_t points = 0;
            if (size - pos < 4 || !readInt32(device, &points))
                return failWith(error,
                                QStringLiteral("Truncated package: layer %1 is cut").arg(layer));
            pos += 4;
            if (points < 0 || qint64(points) * 8 > size - pos)
                return failWith(error, QStringLiteral("Truncated package: layer %1 is cut "
                                                      "(a path states %2 points)")
                                           .arg(layer)
                                           .arg(points));
            pos += qint64(points) * 8;
            if (!device.seek(pos))
                return failWith(error, QStringLiteral("Cannot seek in the package"));
        }
        ++result.layerRecords;
    }
    if (info)
        *info = result;
    return true;
}

bool readVxprInfo(const QString &path, VxprInfo *info, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    return readVxprInfo(file, info, error);
}

QByteArray vxprInfoJson(const VxprInfo &info)
{
    QJsonObject o;
    o.insert(QStringLiteral("title"), info.title);
    o.insert(QStringLiteral("version"), info.version);
    o.insert(QStringLiteral("firstSliceHeight"), double(info.firstSliceHeight));
    o.insert(QStringLiteral("lastSliceHeight"), double(info.lastSliceHeight));
    o.insert(QStringLiteral("layerThickness"), double(info.layerThickness));
    o.insert(QStringLiteral("layerCount"), info.layerCount);
    o.insert(QStringLiteral("volumeMl"), double(info.volumeMl));
    o.insert(QStringLiteral("layerRecords"), info.layerRecords);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

} // namespace OrvaneDlp

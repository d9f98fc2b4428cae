#include "io/DVxpjUnserializeFactory.h"

#include "io/DIoError.h"
#include "io/DVxpjUnserializeHelperV5.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace
{

struct Header {
    std::int32_t magicLength = 0;
    QByteArray magic;
    std::int32_t version = 0;
};

bool readInt(QIODevice *device, std::int32_t *out)
{
    char bytes[4];
    if (device->read(bytes, 4) != 4)
        return false;
    *out = qFromLittleEndian<qint32>(bytes);
    return true;
}

// Reads the header fields up to the version; throws the version read error when they are not
// all there.
Header readHeader(QIODevice *device)
{
    Header h;
    std::int32_t headerLength = 0;
    if (!readInt(device, &headerLength) || !readInt(device, &h.magicLength))
        throw DIoError(Vxpj::versionReadError());
    if (h.magicLength < 0 || h.magicLength > Vxpj::MaxMagicLength) {
        throw DIoError(Vxpj::damaged() + QStringLiteral("the magic length %1 is outside 0 to %2")
                                             .arg(h.magicLength)
                                             .arg(Vxpj::MaxMagicLength));
    }
    h.magic = device->read(h.magicLength);
    if (h.magic.size() != h.magicLength || !readInt(device, &h.version))
        throw DIoError(Vxpj::versionReadError());
    return h;
}

} // namespace

std::int32_t DVxpjUnserializeFactory::probeVersion(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DIoError(Vxpj::versionReadError());
    return readHeader(&file).version;
}

std::int32_t DVxpjUnserializeFactory::probeVersion(QIODevice *device)
{
    if (!device || !device->isReadable() || device->isSequential())
        throw DIoError(Vxpj::versionReadError());
    const qint64 start = device->pos();
    const Header h = readHeader(device);
    device->seek(start);
    return h.version;
}

bool DVxpjUnserializeFactory::hasProjectHeader(const QString &path)
{
    // Only a regular file is looked into: opening a FIFO or a device to sniff it would wait for
    // a writer or consume its data.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    try {
        const Header h = readHeader(&file);
        return h.magic == Vxpj::magic() && h.version >= Vxpj::OldestVersion &&
               h.version <= Vxpj::CurrentVersion;
    } catch (const DIoError &) {
        return false;
    }
}

std::unique_ptr<DVxpjUnserializeBase> DVxpjUnserializeFactory::create(const QString &path)
{
    return createForVersion(probeVersion(path), path, nullptr);
}

std::unique_ptr<DVxpjUnserializeBase> DVxpjUnserializeFactory::create(QIODevice *device)
{
    return createForVersion(probeVersion(device), QString(), device);
}

std::unique_ptr<DVxpjUnserializeBase>
DVxpjUnserializeFactory::createForVersion(std::int32_t version, const QString &path,
                                          QIODevice *device)
{
    auto make = [&](auto *tag) -> std::unique_ptr<DVxpjUnserializeBase> {
        using Reader = std::remove_pointer_t<decltype(tag)>;
        if (device)
            return std::make_unique<Reader>(device);
        return std::make_unique<Reader>(path);
    };
    switch (version) {
    case 1:
        return make(static_cast<DVxpjUnserializeHelperV1 *>(nullptr));
    case 2:
        return make(static_cast<DVxpjUnserializeHelperV2 *>(nullptr));
    case 3:
        return make(static_cast<DVxpjUnserializeHelperV3 *>(nullptr));
    case 4:
        return make(static_cast<DVxpjUnserializeHelperV4 *>(nullptr));
    case 5:
        return make(static_cast<DVxpjUnserializeHelperV5 *>(nullptr));
    default:
        throw DIoError(Vxpj::unserializeFailed());
    }
}

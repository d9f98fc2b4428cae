#include "io/DIoVXPJ.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DVxpjSerializeHelperV5.h"
#include "io/DVxpjUnserializeFactory.h"
#include "io/VxpjRodCodec.h"

#include "geometry/OutputTarget.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace
{

// A project read from a FIFO or a device is read once, whole: the reader would otherwise open it
// a second time after probing the version and wait for a writer that never comes.
constexpr qint64 MaxStreamedProject = qint64(1) << 31;

QByteArray readStreamedProject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DIoError(Vxpj::versionReadError() + QStringLiteral(": ") + file.errorString());
    QByteArray data;
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            throw DIoError(Vxpj::versionReadError() + QStringLiteral(": ") + file.errorString());
        if (n == 0)
            break;
        if (data.size() + n > MaxStreamedProject)
            throw DIoError(QStringLiteral("The project stream is larger than 2 GB"));
        data.append(buffer, int(n));
    }
    return data;
}

} // namespace

DIoVXPJ::DIoVXPJ() : m_rodCodec(Vxpj::manualSupportRodCodec()) {}

std::vector<std::shared_ptr<Model>> DIoVXPJ::read()
{
    QBuffer buffer;
    std::unique_ptr<DVxpjUnserializeBase> reader;
    if (m_hasData) {
        buffer.setData(m_data);
        buffer.open(QIODevice::ReadOnly);
        reader = DVxpjUnserializeFactory::create(&buffer);
    } else if (QFileInfo(m_fileName).exists() && !QFileInfo(m_fileName).isFile()) {
        buffer.setData(readStreamedProject(m_fileName));
        buffer.open(QIODevice::ReadOnly);
        reader = DVxpjUnserializeFactory::create(&buffer);
    } else {
        reader = DVxpjUnserializeFactory::create(m_fileName);
    }
    reader->setParent(m_progress);
    reader->setRodCodec(m_rodCodec);
    setLevel(QStringLiteral("level1"), 90, 0, QStringLiteral("pct"));
    reader->load();

    setLevel(QStringLiteral("level1"), 10, 90, QStringLiteral("pct"));
    std::vector<std::shared_ptr<Model>> models(reader->models().begin(), reader->models().end());
    for (const std::shared_ptr<Model> &model : models)
        postProcess(*model);
    return models;
}

void DIoVXPJ::write(const std::vector<std::shared_ptr<Model>> &models)
{
    if (isStreamTarget(m_fileName)) {
        // Written whole into a temporary file, then streamed into the FIFO or device, which
        // stays what it is and receives nothing from a failed save.
        QTemporaryFile temp;
        if (!temp.open())
            throw DIoError(Vxpj::openWriteError() + QStringLiteral(": ") + temp.errorString());
        DVxpjSerializeHelperV5 writer(&temp, models);
        writer.setParent(m_progress);
        writer.setRodCodec(m_rodCodec);
        if (!writer.save())
            throw DIoError(writer.errorMessage());
        QString error;
        if (!temp.flush() || !copyToStreamTarget(temp, m_fileName, &error))
            throw DIoError(Vxpj::openWriteError() + QStringLiteral(": ") + error);
        return;
    }
    DVxpjSerializeHelperV5 writer(m_fileName, models);
    writer.setParent(m_progress);
    writer.setRodCodec(m_rodCodec);
    if (!writer.save())
        throw DIoError(writer.errorMessage());
}

namespace Vxpj
{

std::vector<std::shared_ptr<Model>> loadProject(const QString &path, IProgressable *progress)
{
    DIoVXPJ io;
    io.setFileName(path);
    io.setProgress(progress);
    return io.read();
}

void saveProject(const QString &path, const std::vector<std::shared_ptr<Model>> &models,
                 IProgressable *progress)
{
    DIoVXPJ io;
    io.setFileName(path);
    io.setProgress(progress);
    io.write(models);
}

bool isProjectPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("vxpj"), Qt::CaseInsensitive) == 0)
        return true;
    return suffix.compare(QLatin1String("orvane"), Qt::CaseInsensitive) == 0 &&
           DVxpjUnserializeFactory::hasProjectHeader(path);
}

} // namespace Vxpj

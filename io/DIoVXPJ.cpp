#include "io/DIoVXPJ.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DVxpjSerializeHelperV5.h"
#include "io/DVxpjUnserializeFactory.h"
#include "io/VxpjRodCodec.h"

#include <QBuffer>
#include <QFileInfo>

DIoVXPJ::DIoVXPJ() : m_rodCodec(Vxpj::manualSupportRodCodec()) {}

std::vector<std::shared_ptr<Model>> DIoVXPJ::read()
{
    QBuffer buffer;
    std::unique_ptr<DVxpjUnserializeBase> reader;
    if (m_hasData) {
        buffer.setData(m_data);
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
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.contains(QLatin1String("vxpj")))
        return true;
    return suffix.contains(QLatin1String("orvane")) &&
           DVxpjUnserializeFactory::hasProjectHeader(path);
}

} // namespace Vxpj

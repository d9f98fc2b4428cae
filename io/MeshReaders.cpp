#include "io/MeshReaders.h"

#include "io/DIoAsciiStl.h"
#include "io/DIoOBJ.h"
#include "io/DIoSlc.h"

#include <QFileInfo>

std::unique_ptr<DIoPartBase> createPartReader(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    std::unique_ptr<DIoPartBase> reader;
    if (suffix == QLatin1String("stl"))
        reader = std::make_unique<DIoAsciiStl>();
    else if (suffix == QLatin1String("obj"))
        reader = std::make_unique<DIoOBJ>();
    else if (suffix == QLatin1String("slc"))
        reader = std::make_unique<DIoSlc>();
    if (reader)
        reader->setFileName(path);
    return reader;
}

bool isPartFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("stl") || suffix == QLatin1String("obj") ||
           suffix == QLatin1String("slc");
}

#include "app/EnvironmentSetup.h"

#include "app/CEnvironmentColors.h"
#include "app/CSupplizeConfig.h"

#include <QDebug>

namespace Orvane3Ds
{

bool loadEnvironmentFiles(CEnvironmentColors &colors, CSupplizeConfig &supplies,
                          const QString &colorFile, const QString &descriptionFile)
{
    const bool colours = colors.loadColors(colorFile);
    if (!colours)
        qWarning().noquote() << "cannot read the colour file" << colorFile;
    const bool description = supplies.loadDescription(descriptionFile);
    if (!description)
        qWarning().noquote() << supplies.descriptionError();
    return colours && description;
}

bool initialEnvironmentColors(CEnvironmentColors &colors, CSupplizeConfig &supplies)
{
    colors.buildSchemes();
    if (!supplies.selectFirstSupply(QStringLiteral("0.1")))
        return false;
    qDebug("selected supplies:%s", qUtf8Printable(supplies.selectedSupply().color));
    return true;
}

bool applySelectedEnvironmentColor(CEnvironmentColors &colors, const CSupplizeConfig &supplies)
{
    const QString name = supplies.selectedSupply().color;
    if (!colors.schemeNames().contains(name))
        return false;
    qDebug("init slecelt color:%s", qUtf8Printable(name));
    return colors.applyScheme(name);
}

} // namespace Orvane3Ds

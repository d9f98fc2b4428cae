#include "app/CSupplizeConfig.h"

#include "app/DescriptionCipher.h"

#include <QFile>
#include <QStringList>

#include <tinyxml.h>

namespace Orvane3Ds
{

namespace
{
QString attr(const TiXmlElement *e, const char *name)
{
    const char *v = e->Attribute(name);
    return v ? QString::fromUtf8(v) : QString();
}
} // namespace

bool CSupplizeConfig::loadDescription(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_descriptionError = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    QByteArray xml;
    if (!decodeDescription(file.readAll(), xml)) {
        m_descriptionError = QStringLiteral("%1 is not a description file").arg(path);
        return false;
    }
    return parseDescription(xml);
}

// Layout after decoding:
//   <Version value="1.0.0">
//     <Precision value="0.1">
//       <Item name="ColorDefault" price="..." lightstrong="..." version="..."/>
bool CSupplizeConfig::parseDescription(const QByteArray &xml)
{
    TiXmlDocument doc;
    doc.Parse(xml.constData(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement *root = doc.RootElement();
    if (doc.Error() || !root || root->ValueStr() != "Version") {
        m_descriptionError = QStringLiteral("description is not valid XML");
        return false;
    }
    std::map<QString, QVector<SupplyItem>> byPrecision;
    for (const TiXmlElement *p = root->FirstChildElement("Precision"); p;
         p = p->NextSiblingElement("Precision")) {
        QVector<SupplyItem> &items = byPrecision[attr(p, "value")];
        for (const TiXmlElement *i = p->FirstChildElement("Item"); i;
             i = i->NextSiblingElement("Item"))
            items.push_back(
                {attr(i, "name"), attr(i, "price"), attr(i, "lightstrong"), attr(i, "version")});
    }
    m_suppliesVersion = attr(root, "value");
    m_byPrecision = std::move(byPrecision);
    m_descriptionError.clear();
    return true;
}

QVector<SupplyItem> CSupplizeConfig::suppliesFor(const QString &precision) const
{
    const auto it = m_byPrecision.find(precision);
    return it == m_byPrecision.end() ? QVector<SupplyItem>() : it->second;
}

QStringList CSupplizeConfig::precisions() const
{
    QStringList list;
    for (const auto &entry : m_byPrecision)
        list << entry.first;
    return list;
}

bool CSupplizeConfig::selectFirstSupply(const QString &precision)
{
    const QVector<SupplyItem> items = suppliesFor(precision);
    if (items.isEmpty())
        return false;
    m_selected = items.first();
    return true;
}

} // namespace Orvane3Ds

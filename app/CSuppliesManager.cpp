#include "app/CSuppliesManager.h"

#include <QFile>
#include <QSaveFile>

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
std::string utf8(const QString &s)
{
    return s.toUtf8().toStdString();
}
} // namespace

bool CSuppliesManager::save(const QString &path)
{
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "utf-8", "no"));
    auto *attribute = new TiXmlElement("CfgAttribute");
    attribute->SetAttribute("version", utf8(m_version));
    doc.LinkEndChild(attribute);
    auto *items = new TiXmlElement("CfgItems");
    for (const SupplyItem &item : m_items) {
        auto *e = new TiXmlElement("Item");
        e->SetAttribute("color", utf8(item.color));
        e->SetAttribute("price", utf8(item.price));
        e->SetAttribute("lighting", utf8(item.lighting));
        e->SetAttribute("version", utf8(item.version));
        items->LinkEndChild(e);
    }
    doc.LinkEndChild(items);
    TiXmlPrinter printer;
    doc.Accept(&printer);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    file.write(printer.CStr(), static_cast<qint64>(printer.Size()));
    if (!file.commit()) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    m_error.clear();
    return true;
}

bool CSuppliesManager::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    const QByteArray bytes = file.readAll();
    TiXmlDocument doc;
    doc.Parse(bytes.constData(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement *list = doc.FirstChildElement("CfgItems");
    if (doc.Error() || !list) {
        m_error = QStringLiteral("%1 is not a supplies list").arg(path);
        return false;
    }
    QVector<SupplyItem> items;
    for (const TiXmlElement *e = list->FirstChildElement("Item"); e;
         e = e->NextSiblingElement("Item"))
        items.push_back(
            {attr(e, "color"), attr(e, "price"), attr(e, "lighting"), attr(e, "version")});
    const TiXmlElement *attribute = doc.FirstChildElement("CfgAttribute");
    m_version = attribute ? attr(attribute, "version") : QString();
    m_items = std::move(items);
    m_error.clear();
    return true;
}

} // namespace Orvane3Ds

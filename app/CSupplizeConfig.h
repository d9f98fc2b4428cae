#pragma once

#include "app/SupplyItem.h"

#include <QString>
#include <QVector>

#include <map>

namespace Orvane3Ds
{

// Supplies configuration: the supplies of the description file, per layer thickness, and the
// supply whose colour scheme the view uses.
class CSupplizeConfig
{
  public:
    virtual ~CSupplizeConfig() = default;

    // Reads the encoded description file. Returns false with descriptionError() set when the
    // file is missing, not decodable or not the expected XML; the previous content is kept then.
    bool loadDescription(const QString &path);
    // Same from decoded XML bytes.
    bool parseDescription(const QByteArray &xml);

    // Supplies version text of the description.
    const QString &suppliesVersion() const { return m_suppliesVersion; }
    // Supplies offered for a layer thickness text such as "0.1" (empty when none).
    QVector<SupplyItem> suppliesFor(const QString &precision) const;
    QStringList precisions() const;

    // Selects the first supply listed for the precision; false when there is none.
    bool selectFirstSupply(const QString &precision = QStringLiteral("0.1"));
    const SupplyItem &selectedSupply() const { return m_selected; }
    void setSelectedSupply(const SupplyItem &item) { m_selected = item; }

    const QString &descriptionError() const { return m_descriptionError; }

  private:
    QString m_suppliesVersion;
    std::map<QString, QVector<SupplyItem>> m_byPrecision;
    SupplyItem m_selected;
    QString m_descriptionError;
};

} // namespace Orvane3Ds

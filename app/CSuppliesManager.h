#pragma once

#include "app/CSupplizeConfig.h"
#include "app/ITinyXml.h"

namespace Orvane3Ds
{

// The supplies list file:
//   <?xml version="1.0" encoding="utf-8" standalone="no" ?>
//   <CfgAttribute version="..."/>
//   <CfgItems><Item color="..." price="..." lighting="..." version="..."/>...</CfgItems>
class CSuppliesManager : public CSupplizeConfig, public ITinyXml
{
  public:
    // Writes through a temporary file, so a failed save leaves the previous file intact.
    bool save(const QString &path) override;
    // Replaces the list only when the whole file was read.
    bool load(const QString &path) override;
    QString errorString() const override { return m_error; }

    const QVector<SupplyItem> &items() const { return m_items; }
    void setItems(const QVector<SupplyItem> &items) { m_items = items; }
    const QString &version() const { return m_version; }
    void setVersion(const QString &version) { m_version = version; }

  private:
    QVector<SupplyItem> m_items;
    QString m_version;
    QString m_error;
};

} // namespace Orvane3Ds

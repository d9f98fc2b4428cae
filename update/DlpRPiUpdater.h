#pragma once

#include "update/HttpUpgrade.h"

#include <functional>

// Controller software from the network: asks for "RasspberryPiA_latestversion" against the
// printer's board-A version, downloads the package and hands it on through sUpload(). The last
// offered address is kept under "RPi/upgradeUrl".
class DlpRPiUpdater : public HttpUpgrade
{
    Q_OBJECT
  public:
    explicit DlpRPiUpdater(const QString &currentVersion, QObject *parent = nullptr);

    QString currentVersion() const { return m_currentVersion; }

    Result check() override;

  signals:
    // The downloaded package, for the printer transfer.
    void sUpload(QString file);

  public slots:
    void upgrade() override;

  private:
    QString m_currentVersion;
};

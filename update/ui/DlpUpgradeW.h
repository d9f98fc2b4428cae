#pragma once

#include <QDialog>
#include <QPointer>

#include "update/HttpUpgrade.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The small progress dialog that drives an updater: "Upgrade" runs its check and download,
// "Cancel" aborts a running download (the dialog closes on the resulting finish). A failed check
// or download stays visible in the information label.
class DlpUpgradeW : public QDialog
{
    Q_OBJECT
  public:
    explicit DlpUpgradeW(QWidget *parent = nullptr);

    // Connects the updater (not owned; it must outlive its use here). Installs a question box
    // for the download question when the updater has none.
    void setUpdater(HttpUpgrade *updater);
    HttpUpgrade *updater() const { return m_updater; }

    QLabel *infoLabel() const { return m_info; }
    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *upgradeButton() const { return m_upgrade; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The shown text of an updater message "<title>:<text>" in the current language.
    static QString displayText(const QString &msg);

  public slots:
    void onShowInfo(QString msg);
    void onProgress(QString msg, qlonglong received, qlonglong total);
    void onFinished();

  protected:
    void changeEvent(QEvent *event) override;

  private:
    void retranslate();
    void closeFinished();

    QPointer<HttpUpgrade> m_updater;
    QProgressBar *m_progress = nullptr;
    QLabel *m_info = nullptr;
    QPushButton *m_upgrade = nullptr;
    QPushButton *m_cancel = nullptr;
    QString m_error;
    bool m_running = false;
    bool m_cancelled = false;
    bool m_finishPending = false;
};

#include "update/ui/DlpUpgradeW.h"

#include "update/HttpUpgrade.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

DlpUpgradeW::DlpUpgradeW(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DlpUpgradeW"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("lbInfo"));
    m_info->setWordWrap(true);
    m_info->setMinimumWidth(360);
    m_upgrade = new QPushButton(this);
    m_upgrade->setObjectName(QStringLiteral("pbUpgrade"));
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("pbCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_upgrade);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_info);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    retranslate();
}

void DlpUpgradeW::retranslate()
{
    setWindowTitle(tr("Form"));
    m_upgrade->setText(tr("Upgrade"));
    m_cancel->setText(tr("Cancel"));
}

void DlpUpgradeW::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void DlpUpgradeW::setUpdater(HttpUpgrade *updater)
{
    if (m_updater)
        m_updater->disconnect(this);
    m_upgrade->disconnect();
    m_cancel->disconnect();
    m_updater = updater;
    if (!updater)
        return;
    if (!updater->hasQuestion()) {
        updater->setQuestion([this](const QString &, const QString &text) {
            return QMessageBox::question(this, tr("upgrade"), displayText(text),
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        });
    }
    connect(updater, &HttpUpgrade::sShowInfo, this, &DlpUpgradeW::onShowInfo);
    connect(updater, &HttpUpgrade::sProgress, this, &DlpUpgradeW::onProgress);
    connect(updater, &HttpUpgrade::sFinished, this, &DlpUpgradeW::onFinished);
    connect(updater, &HttpUpgrade::sError, this, [this](const QString &msg) {
        m_error = msg;
        m_info->setText(tr("Download failed: %1").arg(msg));
    });
    connect(m_upgrade, &QPushButton::clicked, updater, [this, updater] {
        m_error.clear();
        m_cancelled = false;
        m_finishPending = false;
        m_running = true;
        m_upgrade->setEnabled(false);
        m_info->setText(tr("Checking for a new version ..."));
        updater->upgrade();
        m_running = false;
        m_upgrade->setEnabled(true);
        if (m_finishPending && m_info->text().isEmpty())
            closeFinished();
        m_finishPending = false;
    });
    connect(m_cancel, &QPushButton::clicked, updater, [this, updater] {
        m_cancelled = true;
        emit updater->sCancel(true);
    });
}

QString DlpUpgradeW::displayText(const QString &msg)
{
    const int colon = msg.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return QCoreApplication::translate("HttpUpgrade", msg.toUtf8().constData());
    const QString title = msg.left(colon);
    const QString text = msg.mid(colon + 1);
    return QStringLiteral("%1:%2").arg(
        QCoreApplication::translate("DlpUpgradeW", title.toUtf8().constData()),
        QCoreApplication::translate("HttpUpgrade", text.toUtf8().constData()));
}

void DlpUpgradeW::onShowInfo(QString msg)
{
    m_info->setText(displayText(msg));
}

void DlpUpgradeW::onProgress(QString msg, qlonglong received, qlonglong total)
{
    m_info->setText(msg);
    // The bar counts in kilobytes so that files beyond 2 GB still fit its int range.
    const int max = total > 0 ? int(qMin<qlonglong>(total / 1024 + 1, INT_MAX)) : 0;
    m_progress->setMaximum(max);
    m_progress->setValue(total > 0 ? int(qMin<qlonglong>(received / 1024, max)) : 0);
}

void DlpUpgradeW::onFinished()
{
    m_progress->setMaximum(100);
    m_progress->setValue(0);
    if (!m_error.isEmpty() && !m_cancelled) {
        // A failed download stays readable; the user closes the dialog with Cancel.
        m_error.clear();
        return;
    }
    if (m_running && !m_cancelled) {
        // The updater goes on after its download (the installer's questions): the dialog
        // closes when it is done, unless it has something to say by then.
        m_finishPending = true;
        m_info->clear();
        return;
    }
    closeFinished();
}

void DlpUpgradeW::closeFinished()
{
    m_error.clear();
    m_cancelled = false;
    m_finishPending = false;
    m_info->clear();
    close();
}

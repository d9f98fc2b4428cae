#include "update/ui/SdUpdateInformation.h"

#include "update/UpdateService.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

SdUpdateInformation::SdUpdateInformation(const QString &name, const QString &version,
                                         const QString &language, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), m_name(name), m_version(version),
      m_language(language)
{
    setObjectName(QStringLiteral("SdUpdateInformation"));
    setMinimumSize(540, 480);
    setStyleSheet(QStringLiteral("#SdUpdateInformation{background:#ffffff;border:1px solid "
                                 "#ccd5eb;}"));
    m_openUrl = [](const QString &url) { return QDesktopServices::openUrl(QUrl(url)); };

    m_lTitle = new QLabel(this);
    m_lTitle->setStyleSheet(QStringLiteral("font:bold"));
    m_pbClose = new QToolButton(this);
    m_pbClose->setObjectName(QStringLiteral("pbClose"));
    m_pbClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_pbClose->setAutoRaise(true);
    auto *title = new QHBoxLayout;
    title->addWidget(m_lTitle);
    title->addStretch();
    title->addWidget(m_pbClose);

    m_about = new QTextBrowser(this);
    m_about->setObjectName(QStringLiteral("aboutView"));
    m_about->setFrameShape(QFrame::NoFrame);
    m_about->setMinimumHeight(190);
    m_lVersion = new QLabel(this);
    m_lVersion->setObjectName(QStringLiteral("lVersion"));
    m_lChangeLog = new QLabel(this);
    m_lOnlineUpdate = new QLabel(this);
    m_pbChangeLog = new QPushButton(this);
    m_pbChangeLog->setObjectName(QStringLiteral("pbChangeLog"));
    m_pbUpdate = new QPushButton(this);
    m_pbUpdate->setObjectName(QStringLiteral("pbUpdate"));
    m_cbAutoDetect = new QCheckBox(this);
    m_cbAutoDetect->setObjectName(QStringLiteral("cbAutoDetect"));
    m_lStatus = new QLabel(this);
    m_lStatus->setObjectName(QStringLiteral("lStatus"));
    m_lStatus->setWordWrap(true);
    m_lStatus->setStyleSheet(QStringLiteral("color:#558fdf"));

    auto *grid = new QGridLayout;
    grid->addWidget(m_lChangeLog, 0, 0);
    grid->addWidget(m_pbChangeLog, 0, 1);
    grid->addWidget(m_lOnlineUpdate, 1, 0);
    grid->addWidget(m_pbUpdate, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addWidget(m_about, 1);
    layout->addWidget(m_lVersion);
    layout->addLayout(grid);
    layout->addWidget(m_cbAutoDetect);
    layout->addWidget(m_lStatus);

    connect(m_pbClose, &QToolButton::clicked, this, &SdUpdateInformation::onClose);
    connect(m_pbChangeLog, &QPushButton::clicked, this, &SdUpdateInformation::onOnlineChangeLog);
    connect(m_pbUpdate, &QPushButton::clicked, this, &SdUpdateInformation::onUpdate);
    connect(m_cbAutoDetect, &QCheckBox::toggled, this, &SdUpdateInformation::onOnOffAutoDetect);
    retranslate();
}

void SdUpdateInformation::retranslate()
{
    setWindowTitle(tr("About Us"));
    m_lTitle->setText(tr("About Us"));
    m_pbClose->setToolTip(tr("Close"));
    m_about->setHtml(
        QStringLiteral("<font><b><p align='center'>%1</p></b></font>").arg(tr("company")) +
        QStringLiteral("<font size='+1'><p align='center'>%1</p></font>").arg(tr("3dService")) +
        QStringLiteral("<font><p align='center'>%1</p></font>").arg(tr("3dService1")) +
        QStringLiteral("<font><p align='center'>%1</p></font>").arg(tr("3dService2")));
    m_lChangeLog->setText(tr("Change log"));
    m_lOnlineUpdate->setText(tr("Online Update"));
    m_pbChangeLog->setText(tr("Look change logs"));
    m_pbUpdate->setText(tr("Update"));
    m_cbAutoDetect->setText(tr("enableAutoDetectNewVersion"));
    m_lVersion->setText(QStringLiteral("%1 %2").arg(tr("Current Version"), m_version));
}

void SdUpdateInformation::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void SdUpdateInformation::refresh()
{
    const QSignalBlocker block(m_cbAutoDetect);
    m_cbAutoDetect->setChecked(
        QSettings().value(QStringLiteral("enableCheckNewVersion"), true).toBool());
    m_lVersion->setText(QStringLiteral("%1 %2").arg(tr("Current Version"), m_version));
    m_lStatus->setText(UpdateService::baseAddress().isEmpty() ? tr("updatesNotConfigured")
                                                              : QString());
}

int SdUpdateInformation::showAndRun()
{
    refresh();
    return exec();
}

bool SdUpdateInformation::serviceConfigured()
{
    if (!UpdateService::baseAddress().isEmpty())
        return true;
    m_lStatus->setText(tr("updatesNotConfigured"));
    return false;
}

void SdUpdateInformation::onUpdate()
{
    if (!serviceConfigured())
        return;
    QString error;
    if (UpdateService::startUpdater(m_name, m_version, m_language, false, &error))
        m_lStatus->setText(tr("updaterStarted"));
    else
        m_lStatus->setText(tr("updaterNotStarted").arg(error));
}

void SdUpdateInformation::onOnlineChangeLog()
{
    if (!serviceConfigured())
        return;
    const QString url = UpdateService::changeLogUrl(UpdateService::baseAddress(), m_name);
    if (!m_openUrl(url))
        m_lStatus->setText(tr("browserNotStarted").arg(url));
}

void SdUpdateInformation::onClose()
{
    close();
}

void SdUpdateInformation::onOnOffAutoDetect(bool f)
{
    QSettings().setValue(QStringLiteral("enableCheckNewVersion"), f);
}

void SdUpdateInformation::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressOffset = event->globalPos() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void SdUpdateInformation::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPos() - m_pressOffset);
    QDialog::mouseMoveEvent(event);
}

void SdUpdateInformation::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

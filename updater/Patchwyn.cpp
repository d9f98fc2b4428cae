#include "updater/Patchwyn.h"

#include "updater/PatchwynReply.h"
#include "updater/ProcessControl.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
const char *const kCommonStyle = "border-style: outset;border-width:2px;border-color:#ccd5eb;"
                                 "border-radius:15px;padding: 6px;";

// With no visible screen (offscreen or minimal platform) a modal box would wait for ever.
bool headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

QString fileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}
} // namespace

QString Patchwyn::greyStyle()
{
    return QStringLiteral("%1background-color:#ededed;color:558fdf;")
        .arg(QLatin1String(kCommonStyle));
}

QString Patchwyn::blueStyle()
{
    return QStringLiteral("%1background-color:#6fd2ff;color:black")
        .arg(QLatin1String(kCommonStyle));
}

QString Patchwyn::secondStyle()
{
    return QStringLiteral("%1background-color:#f0f0f0;color:#558fdf")
        .arg(QLatin1String(kCommonStyle));
}

Patchwyn::Patchwyn(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("Patchwyn"));
    setMinimumSize(480, 360);
    m_lTitle = new QLabel(this);
    m_lTitle->setStyleSheet(QStringLiteral("font:bold"));
    m_pbCloseIcon = new QToolButton(this);
    m_pbCloseIcon->setObjectName(QStringLiteral("pbCloseIcon"));
    m_pbCloseIcon->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_pbCloseIcon->setAutoRaise(true);
    auto *title = new QHBoxLayout;
    title->addWidget(m_lTitle);
    title->addStretch();
    title->addWidget(m_pbCloseIcon);
    m_lTip = new QLabel(this);
    m_lInfo = new QLabel(this);
    m_lInfo->setObjectName(QStringLiteral("lbInfo"));
    m_lInfo->setWordWrap(true);
    m_teLog = new QTextEdit(this);
    m_teLog->setReadOnly(true);
    m_progress = new QProgressBar(this);
    m_progress->setStyleSheet(
        QStringLiteral("QProgressBar::chunk{background-color:#558fdf;} "
                       "QProgressBar{width:15px;border-radius:5px;background:transparent;"
                       "text-align:center;border:0px;}"));
    m_progress->setValue(0);
    m_pbAction = new QPushButton(this);
    m_pbAction->setObjectName(QStringLiteral("pbAction"));
    // Enter presses the action of the current state (Continue, then Install).
    m_pbAction->setDefault(true);
    m_pbSecond = new QPushButton(this);
    m_pbSecond->setObjectName(QStringLiteral("pbSecond"));
    m_pbSecond->setStyleSheet(secondStyle());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pbAction);
    buttons->addWidget(m_pbSecond);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addWidget(m_lTip);
    layout->addWidget(m_lInfo);
    layout->addWidget(m_teLog, 1);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);

    connect(m_pbCloseIcon, &QToolButton::clicked, this, [this] {
        m_client.cancel();
        close();
    });
    connect(m_pbAction, &QPushButton::clicked, this, &Patchwyn::onUpdate);
    connect(m_pbSecond, &QPushButton::clicked, this, &Patchwyn::onClose);
    connect(&m_client, &queryer::sProgress, this, &Patchwyn::onProgress);
    connect(&m_client, &queryer::sFinished, this, &Patchwyn::onFinished);
    setState(0);
}

bool Patchwyn::setup(const QString &name, const QString &version, const QString &url,
                     const QString &language)
{
    m_name = name;
    m_version = version;
    m_url = url;
    m_language = language;
    if (m_translator.load(QStringLiteral(":/Language/lang_%1.qm").arg(language)))
        QApplication::installTranslator(&m_translator);
    m_lTitle->setText(name);
    setWindowTitle(name);
    m_pbCloseIcon->setToolTip(tr("Close"));
    m_lTip->setText(tr("tip"));
    m_lInfo->setText(tr("noNewVersion"));
    m_pbAction->setText(tr("Continue"));
    m_pbSecond->setText(tr("Ok"));
    const bool found = onCheackNewVersion();
    setState(found ? 1 : 0);
    return found;
}

void Patchwyn::setState(int state)
{
    m_state = state;
    const bool keep = m_keepInfo;
    m_keepInfo = false;
    switch (state) {
    case 0:
        if (!keep)
            m_lInfo->setText(tr("noNewVersion"));
        m_pbSecond->setText(tr("Ok"));
        m_pbAction->setEnabled(false);
        m_pbAction->setStyleSheet(greyStyle());
        break;
    case 1:
        if (!keep)
            m_lInfo->setText(tr("hasNewVersion"));
        m_pbSecond->setText(tr("Cancel"));
        m_pbAction->setEnabled(true);
        m_pbAction->setStyleSheet(blueStyle());
        m_pbAction->setText(tr("Continue"));
        m_pbAction->setFocus();
        break;
    case 2:
        m_lInfo->setText(tr("downLoading"));
        m_pbSecond->setText(tr("Cancel"));
        m_pbAction->setEnabled(false);
        m_pbAction->setStyleSheet(greyStyle());
        break;
    case 3:
        m_lInfo->setText(tr("downLoadFinished"));
        m_pbAction->setEnabled(true);
        m_pbAction->setStyleSheet(blueStyle());
        m_pbAction->setText(tr("install"));
        m_pbAction->setFocus();
        break;
    }
    qDebug() << "state" << state;
}

bool Patchwyn::onCheackNewVersion()
{
    const QString latest = QString::fromUtf8(
        m_client.post(m_url, "type=latest_version&name=" + m_name.toLower().toUtf8()));
    qDebug().noquote() << "latest_version reply:" << latest;
    if (!PatchwynReply::hasAttribute(latest, QStringLiteral("success"))) {
        m_lInfo->setText(latest);
        m_keepInfo = true;
    }
    bool hasVersion = false;
    const QString offered =
        PatchwynReply::attribute(latest, QStringLiteral("version"), 0, &hasVersion);
    // Without an offered version there is nothing to update to.
    if (!hasVersion)
        return false;
    if (!PatchwynReply::isNewer(offered, m_version)) {
        m_lInfo->setText(tr("noNewVersion"));
        m_keepInfo = false;
        return false;
    }
    m_offered = offered;
    const QString log =
        QString::fromUtf8(m_client.post(m_url, "type=change_log&name=" + m_name.toLower().toUtf8() +
                                                   "&version=" + m_offered.toUtf8()));
    qDebug().noquote() << "change_log reply:" << log;
    bool hasLog = false;
    const QString text = PatchwynReply::attribute(log, QStringLiteral("log"), 1, &hasLog);
    if (PatchwynReply::hasAttribute(log, QStringLiteral("success")) && hasLog) {
        m_teLog->append(QStringLiteral("%1 %2:").arg(m_offered, tr("update")));
        m_teLog->append(QString());
        m_teLog->append(text);
    }
    return true;
}

void Patchwyn::onUpdate()
{
    if (m_state == 1)
        startDownload();
    else if (m_state == 3)
        install();
}

void Patchwyn::startDownload()
{
    const QString reply = QString::fromUtf8(
        m_client.post(m_url, "type=download_url&name=" + m_name.toLower().toUtf8() +
                                 "&version=" + m_offered.toUtf8()));
    qDebug().noquote() << "download_url reply:" << reply;
    bool hasPath = false;
    bool hasName = false;
    const QString path = PatchwynReply::attribute(reply, QStringLiteral("path"), 1, &hasPath);
    const QString offeredName =
        PatchwynReply::attribute(reply, QStringLiteral("name"), 1, &hasName);
    if (!PatchwynReply::hasAttribute(reply, QStringLiteral("success")) || !hasPath || !hasName)
        return; // an incomplete answer: the offer stays
    const QString name = PatchwynReply::safeFileName(offeredName);
    if (name.isEmpty()) {
        m_lInfo->setText(tr("badFileName").arg(offeredName));
        return;
    }
    m_sha256 = PatchwynReply::attribute(reply, QStringLiteral("sha256")).trimmed().toLower();
    const QString folder = m_folder.isEmpty() ? QDir::tempPath() : m_folder;
    const QString target = QDir(folder).filePath(name);
    m_progress->setValue(0);
    setState(2);
    m_file = m_client.download(m_url, "type=download_file&path=" + path.toUtf8(), target);
    if (m_file.isEmpty()) {
        m_keepInfo = true;
        m_lInfo->setText(tr("downloadFailed").arg(m_client.errorText()));
        setState(1);
    }
}

void Patchwyn::onFinished()
{
    if (!m_client.downloadSucceeded()) {
        m_file.clear();
        m_progress->setValue(0);
        m_lInfo->setText(tr("downloadFailed").arg(m_client.errorText()));
        m_keepInfo = true;
        setState(1);
        return;
    }
    if (!m_sha256.isEmpty() && fileSha256(m_file) != m_sha256) {
        QFile::remove(m_file);
        m_file.clear();
        m_progress->setValue(0);
        m_lInfo->setText(tr("checksumMismatch"));
        m_keepInfo = true;
        setState(1);
        return;
    }
    setState(3);
}

void Patchwyn::install()
{
    if (!ProcessControl::findRunning(m_name).isEmpty()) {
        if (!ask(tr("Tip"), QStringLiteral("%1%2").arg(m_name, tr("isRuning,sureToClose"))))
            return;
        ProcessControl::endRunning(m_name);
    }
    const int code = ProcessControl::startInstaller(m_file);
    qDebug() << "installer start result" << code;
    if (code < 32) {
        warn(tr("Failed"), QStringLiteral("%1 install failed!error number:%2,path:%3")
                               .arg(m_name)
                               .arg(code)
                               .arg(QDir::toNativeSeparators(m_file)));
        return;
    }
    close();
}

void Patchwyn::onClose()
{
    if (m_state == 2) {
        if (!ask(tr("Tip"), tr("sureToCancel")))
            return;
        m_client.cancel();
    }
    close();
}

void Patchwyn::onShowInfo(QString) {}

void Patchwyn::onProgress(QString, qlonglong received, qlonglong total)
{
    // Kilobytes keep files beyond 2 GB within the bar's int range.
    m_progress->setMaximum(total > 0 ? int(total / 1024 + 1) : 0);
    m_progress->setValue(total > 0 ? int(received / 1024) : 0);
}

bool Patchwyn::ask(const QString &title, const QString &text)
{
    if (m_question)
        return m_question(title, text);
    if (headless()) {
        qWarning().noquote() << title << text << "(no screen: answered Cancel)";
        return false;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, this);
    QPushButton *ok = box.addButton(tr("Ok"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    const bool accepted = box.clickedButton() == ok;
    qDebug().noquote() << "question" << text << "answered" << (accepted ? "Ok" : "Cancel");
    return accepted;
}

void Patchwyn::warn(const QString &title, const QString &text)
{
    qWarning().noquote() << title << text;
    if (m_question) {
        m_question(title, text);
        return;
    }
    if (!headless())
        QMessageBox::warning(this, title, text);
}

void Patchwyn::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressOffset = event->globalPos() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void Patchwyn::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPos() - m_pressOffset);
    QDialog::mouseMoveEvent(event);
}

void Patchwyn::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

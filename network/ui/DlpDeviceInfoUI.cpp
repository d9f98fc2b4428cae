#include "network/ui/DlpDeviceInfoUI.h"

#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"
#include "network/PrinterProtocol.h"

#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

// The card's labels: text key of the prefix and the property shown.
struct CardLabel {
    const char *key;
    const char *property;
};
const CardLabel kLabels[] = {
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "filename"), "filename"},
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "hasPrintHeight"), "usedlayers"},
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "totalPrintHeight"), "totallayers"},
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "startTime"), "starttime"},
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "costTime"), "costtime"},
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "endTime"), "endtime"},
    {QT_TRANSLATE_NOOP("DlpDeviceInfoUI", "suppliesType"), "supplies"},
};
const char kTooLow[] = QT_TRANSLATE_NOOP(
    "DlpDeviceInfoUI",
    "The device software is too low ,\nyou must be upgrade to \nmore than 0.2.2.0");
const char kMinimumVersion[] = "0.2.2.0";

bool isPrinting(NetClientCmd *c)
{
    return c->get(QStringLiteral("DS")).compare(QLatin1String("runing"), Qt::CaseInsensitive) == 0;
}

QString afterFirstSlash(const QString &text)
{
    const int slash = text.indexOf(QLatin1Char('/'));
    return slash >= 0 ? text.mid(slash + 1) : text;
}

// The window to put a card's dialogs on: a card lives inside a graphics scene, and a dialog
// parented to it would be drawn inside the scene (and die with the card).
QWidget *dialogParent(QWidget *card)
{
    if (QGraphicsProxyWidget *proxy = card->graphicsProxyWidget())
        if (proxy->scene() && !proxy->scene()->views().isEmpty())
            return proxy->scene()->views().first()->window();
    return card->window();
}

// A question with the two given buttons; true for the first.
bool ask(QWidget *card, const QString &text, const QString &yes, const QString &no)
{
    QWidget *parent = dialogParent(card);
    QMessageBox box(QMessageBox::Question, DlpDeviceInfoUI::tr("Tip"), text, QMessageBox::NoButton,
                    parent);
    QPushButton *first = box.addButton(yes, QMessageBox::AcceptRole);
    box.addButton(no, QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == first;
}

} // namespace

DlpDeviceInfoUI::DlpDeviceInfoUI(NetworkApp *network, QWidget *parent)
    : QWidget(parent), m_network(network), m_answerTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("DlpDeviceInfoUI"));
    setWindowFlags(Qt::FramelessWindowHint);
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#DlpDeviceInfoUI{background:#ffffff;}"));
    m_answerTimer->setSingleShot(true);
    connect(m_answerTimer, &QTimer::timeout, this, [this] {
        m_waiting = false;
        m_radio->setEnabled(true);
        refresh(); // the previous selection state stays
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    m_radio = new QRadioButton(this);
    m_radio->setObjectName(QStringLiteral("rbSelect"));
    m_radio->setAutoExclusive(false);
    m_radio->setStyleSheet(QStringLiteral("font-size:18px;font-weight:bold;"));
    layout->addWidget(m_radio);
    for (const CardLabel &label : kLabels) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("lb_") + QLatin1String(label.key));
        m_labels.insert(QLatin1String(label.key), l);
        layout->addWidget(l);
    }
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(8);
    layout->addWidget(m_progress);
    m_progressText = new QLabel(this);
    m_progressText->setObjectName(QStringLiteral("lbProgress"));
    m_progressText->setAlignment(Qt::AlignCenter);
    m_progressText->setStyleSheet(QStringLiteral("font-size:16px;"));
    layout->addWidget(m_progressText);
    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("lbWarning"));
    m_warning->setStyleSheet(QStringLiteral("color:red;font-size:20px;"));
    m_warning->setWordWrap(true);
    layout->addWidget(m_warning);
    layout->addStretch();
    auto *buttons = new QHBoxLayout;
    m_pause = new QPushButton(this);
    m_pause->setObjectName(QStringLiteral("pbPause"));
    m_stop = new QPushButton(this);
    m_stop->setObjectName(QStringLiteral("pbStop"));
    for (QPushButton *b : {m_pause, m_stop}) {
        b->setFixedSize(48, 48);
        b->setIconSize(QSize(44, 44));
        b->setFlat(true);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(m_radio, &QRadioButton::clicked, this,
            [this](bool check) { onRadioButtonClicked(check); });
    connect(m_pause, &QPushButton::clicked, this, [this] { onPauseOrContinue(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { onStop(); });
    setHighlighted(false);
}

QString DlpDeviceInfoUI::labelText(const QString &key) const
{
    QLabel *l = m_labels.value(key);
    return l ? l->text() : QString();
}

QString DlpDeviceInfoUI::warningText() const
{
    return m_warning->text();
}

bool DlpDeviceInfoUI::isSelected() const
{
    return m_client && m_client->get(QStringLiteral("isPrintSelected")) == QLatin1String("1");
}

void DlpDeviceInfoUI::setPrinter(NetClientCmd *client)
{
    if (client != m_client) {
        disconnect(m_listening);
        m_client = client;
        if (client)
            m_listening =
                connect(client, &NetClientCmd::sParseCommand, this,
                        [this](NetClientCmd *c, const QByteArray &cmd) { onParseCommand(c, cmd); });
    }
    if (client && client->get(QStringLiteral("isSetProgress")) != QLatin1String("1")) {
        client->set(QStringLiteral("isSetProgress"), QStringLiteral("1"));
        QPointer<DlpDeviceInfoUI> self(this);
        client->setProgressCallback([self](int percent, const QString &, bool) {
            const qulonglong p = percent >= 99 ? 0 : qulonglong(percent);
            if (self)
                QMetaObject::invokeMethod(
                    self,
                    [self, p] {
                        if (self)
                            self->onProgress(p);
                    },
                    Qt::QueuedConnection);
        });
    }
    refresh();
}

void DlpDeviceInfoUI::refresh()
{
    m_pause->setToolTip(tr("pause"));
    m_stop->setToolTip(tr("stop"));
    m_pause->setIcon(QIcon(QStringLiteral(":/Image/pausecolor.png")));
    m_stop->setIcon(QIcon(QStringLiteral(":/Image/quitcolor.png")));
    m_progress->setRange(0, 100);
    if (!m_client)
        return;
    NetClientCmd *c = m_client;
    const bool printing = isPrinting(c);
    for (const CardLabel &label : kLabels) {
        QString value;
        const QString property = QLatin1String(label.property);
        if (property == QLatin1String("supplies")) {
            const QStringList parts = c->get(property).split(QLatin1Char(','));
            value = parts.size() >= 4 ? parts[0] + QLatin1Char(' ') + parts[1] : parts.value(0);
        } else if (printing) {
            value = c->get(property);
            if (property == QLatin1String("starttime") || property == QLatin1String("endtime"))
                value = afterFirstSlash(value);
        }
        m_labels.value(QLatin1String(label.key))->setText(tr(label.key) + QLatin1Char(' ') + value);
    }
    const QString progress = printing ? c->get(QStringLiteral("progress")).remove(QLatin1Char('%'))
                                      : QStringLiteral("0");
    const QString upload = c->get(QStringLiteral("upload"));
    const bool uploading = !upload.isEmpty() && upload.toInt() > 0;
    if (!uploading) {
        m_progress->setValue(progress.toInt());
        m_progressText->setText((progress.isEmpty() ? QStringLiteral("0") : progress) +
                                QLatin1Char('%'));
    }
    m_radio->setText(c->get(QStringLiteral("Name")));
    if (!m_waiting)
        m_radio->setChecked(isSelected());
    if (c->get(QStringLiteral("PS")).toLower() == QLatin1String("wait")) {
        m_pause->setToolTip(tr("continue"));
        m_pause->setIcon(QIcon(QStringLiteral(":/Image/printcolor.png")));
    }
    placeButtons();
}

void DlpDeviceInfoUI::placeButtons()
{
    const bool uploading = m_client && m_client->get(QStringLiteral("upload")).toInt() > 0;
    m_pause->setVisible(m_highlighted && !uploading);
    m_stop->setVisible(m_highlighted && !uploading);
    m_progressText->setVisible(m_highlighted || uploading);
    m_progress->setFixedHeight(m_highlighted ? 16 : 8);
}

void DlpDeviceInfoUI::setHighlighted(bool on)
{
    m_highlighted = on;
    placeButtons();
    update();
}

void DlpDeviceInfoUI::startWaiting()
{
    m_waiting = true;
    m_radio->setEnabled(false);
    m_answerTimer->start(kAnswerMs);
}

bool DlpDeviceInfoUI::requestSelection(bool check)
{
    if (!m_client)
        return false;
    if (PrinterProtocol::compareVersions(m_client->get(QStringLiteral("RPiA")),
                                         QLatin1String(kMinimumVersion)) < 0) {
        m_warning->setText(tr(kTooLow));
        m_radio->setChecked(false);
        return false;
    }
    if (check) {
        if (isPrinting(m_client)) {
            const QString text =
                QStringLiteral("%1 %2 %3")
                    .arg(tr("devices"), m_client->get(QStringLiteral("Name")).toLower(),
                         tr("SureisRuning"));
            QPointer<DlpDeviceInfoUI> self(this);
            const bool yes = ask(this, text, tr("yes"), tr("no"));
            if (!self || !m_client)
                return false; // the printer went away while the question was open
            if (!yes) {
                m_network->requestHold(m_client, false);
                startWaiting();
                return false;
            }
            m_client->set(QStringLiteral("afterPrint"), QStringLiteral("0"));
        } else {
            m_client->set(QStringLiteral("afterPrint"), QStringLiteral("1"));
        }
    }
    m_network->requestHold(m_client, check);
    startWaiting();
    return true;
}

void DlpDeviceInfoUI::querySelection()
{
    if (!m_client)
        return;
    m_network->requestHolder(m_client);
    startWaiting();
}

void DlpDeviceInfoUI::onRadioButtonClicked(bool check)
{
    requestSelection(check);
}

void DlpDeviceInfoUI::onParseCommand(NetClientCmd *client, QByteArray cmd)
{
    qint32 code = 0;
    QByteArray body;
    QByteArray holder;
    if (client != m_client || !PrinterProtocol::decodeBinary(cmd, &code, &body) ||
        code != qint32(PrinterProtocol::BinaryCode::Holder) ||
        !PrinterProtocol::decodeHolder(body, &holder))
        return;
    applyHolder(PrinterProtocol::decodeText(holder));
}

void DlpDeviceInfoUI::applyHolder(const QString &holder)
{
    if (holder == m_network->identity().text()) {
        m_warning->clear();
        m_client->set(QStringLiteral("isPrintSelected"), QStringLiteral("1"));
    } else {
        const QStringList parts = holder.split(QLatin1Char(':'));
        if (parts.size() > 2)
            m_warning->setText(tr("deviceIsOccupy") + QLatin1Char('\n') + parts[1] +
                               QLatin1Char('\n') + parts[2]);
        else
            m_warning->clear();
        m_client->set(QStringLiteral("isPrintSelected"), QStringLiteral("0"));
        if (m_client->transfer())
            m_client->transforDestroy();
    }
    m_answerTimer->stop();
    m_waiting = false;
    m_radio->setEnabled(true);
    m_radio->setChecked(isSelected());
    emit sSetOccupyed();
}

void DlpDeviceInfoUI::onPauseOrContinue()
{
    if (m_client)
        m_client->writeBytes(PrinterProtocol::encodeText(QStringLiteral("operation pause")));
}

void DlpDeviceInfoUI::onStop()
{
    if (!m_client)
        return;
    const QString text =
        QStringLiteral("%1 Name:%2 %3")
            .arg(tr("stopPrint"), m_client->get(QStringLiteral("Name")), tr("canotNoRestore"));
    QPointer<DlpDeviceInfoUI> self(this);
    const bool ok = ask(this, text, tr("Ok"), tr("cancel"));
    if (self && ok && m_client)
        m_client->writeBytes(PrinterProtocol::encodeText(QStringLiteral("operation quit")));
}

void DlpDeviceInfoUI::onProgress(qulonglong percent)
{
    m_progress->setValue(int(percent));
    m_progressText->setText(QString::number(percent) + QLatin1Char('%'));
    if (m_client)
        m_client->set(QStringLiteral("upload"),
                      percent == 0 ? QString() : QString::number(percent));
    placeButtons();
}

void DlpDeviceInfoUI::showSendFailure(const QString &reason)
{
    m_warning->setText(tr("sendFailed") + QLatin1Char(' ') + reason);
}

void DlpDeviceInfoUI::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_highlighted)
        return;
    QPainter p(this);
    p.setPen(QPen(QColor(111, 210, 255), 20));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect());
}

void DlpDeviceInfoUI::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        refresh();
    QWidget::changeEvent(event);
}

#include "ui/DlpProccessBar.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace
{

// Stage names that jobs report; they are shown translated.
const char *const kStageKeys[] = {
    QT_TRANSLATE_NOOP("DlpProccessBar", "ModalLoding"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Save Points Datas"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Save Topo Info"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Success Saved"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Load Points Datas"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Load Topo Datas"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Success Loaded"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Slicing"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Preparing"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "Net transfor file"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "SupportCalucate"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "ctlSupportGenaration"),
    QT_TRANSLATE_NOOP("DlpProccessBar", "ctlSupportBaseGenaration"),
};

} // namespace

DlpProccessBar *DlpProccessBar::instance()
{
    // Never destroyed before exit: jobs may still report while the program shuts down.
    static DlpProccessBar *bar = new DlpProccessBar;
    return bar;
}

DlpProccessBar::DlpProccessBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DlpProccessBar"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Opening it must not take the keyboard from the window or dialog the user is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Progress"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#DlpProccessBar{background:#ffffff;border:1px solid #9aa3ad;}"));
    setFixedSize(420, 120);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("progressText"));
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, &DlpProccessBar::sCancelProcess);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    retranslate();
}

void DlpProccessBar::setMainWindow(QWidget *window)
{
    m_mainWindow = window;
}

void DlpProccessBar::retranslate()
{
    m_cancel->setText(tr("cancel"));
}

void DlpProccessBar::changeEvent(QEvent *event)
{
    // The window outlives any language switch; it follows the installed translation itself.
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    QWidget::changeEvent(event);
}

void DlpProccessBar::report(const QString &message, int value, bool cancelVisible)
{
    QMetaObject::invokeMethod(this, "setCancelVisibel", Qt::QueuedConnection,
                              Q_ARG(bool, cancelVisible));
    if (value > 97) {
        m_open = false;
        QMetaObject::invokeMethod(this, "end", Qt::QueuedConnection);
        return;
    }
    if (!m_open.exchange(true)) {
        QMetaObject::invokeMethod(this, "begin", Qt::QueuedConnection);
        if (QWidget *window = m_mainWindow.data()) {
            QMetaObject::invokeMethod(window, "setEnabled", Qt::QueuedConnection,
                                      Q_ARG(bool, false));
        }
    }
    QMetaObject::invokeMethod(this, "onProgress", Qt::QueuedConnection, Q_ARG(QString, message),
                              Q_ARG(qulonglong, qulonglong(qMax(value, 0))),
                              Q_ARG(qulonglong, qulonglong(100)));
}

QString DlpProccessBar::text() const
{
    return m_label->text();
}

int DlpProccessBar::value() const
{
    return m_bar->value();
}

bool DlpProccessBar::isCancelVisible() const
{
    return !m_cancel->isHidden();
}

void DlpProccessBar::setCancelVisibel(bool visible)
{
    m_cancel->setVisible(visible);
}

void DlpProccessBar::setShowText(const QString &text)
{
    m_label->setText(text);
}

void DlpProccessBar::setMaxValue(qulonglong max)
{
    m_max = max;
}

void DlpProccessBar::setCurValue(qulonglong value)
{
    m_value = value;
    const int percent = m_max == 0 ? 0 : int(qMin<qulonglong>(m_value * 100 / m_max, 100));
    m_bar->setValue(percent);
    setWindowTitle(QStringLiteral("%1%").arg(percent));
}

void DlpProccessBar::onProgress(const QString &msg, qulonglong value, qulonglong max)
{
    QString shown = msg;
    for (const char *key : kStageKeys) {
        if (msg == QLatin1String(key)) {
            shown = tr(key);
            break;
        }
    }
    setShowText(shown);
    setMaxValue(max);
    setCurValue(value);
}

void DlpProccessBar::begin()
{
    m_open = true;
    m_max = 0;
    m_value = 0;
    m_bar->setValue(0);
    if (QWidget *window = m_mainWindow.data()) {
        const QRect area = window->frameGeometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
}

void DlpProccessBar::end()
{
    m_open = false;
    hide();
    m_max = 0;
    m_value = 0;
    m_bar->reset();
    m_bar->setValue(0);
    if (QWidget *window = m_mainWindow.data()) {
        QMetaObject::invokeMethod(window, "setEnabled", Qt::QueuedConnection, Q_ARG(bool, true));
    }
}

#include "ui/DlpPanelPlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

DlpPanelPlaceholder::DlpPanelPlaceholder(const char *titleKey, QWidget *parent)
    : QFrame(parent), m_titleKey(titleKey)
{
    setObjectName(QLatin1String(titleKey));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("DlpPanelPlaceholder{background:#fafafa;border:1px solid #d0d4da;"
                                 "border-radius:8px;}"
                                 "QLabel#panelTitle{font-size:15px;font-weight:bold;"
                                 "color:#2b3038;}"
                                 "QLabel#panelNote{color:#6b7280;}"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("panelTitle"));
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("panelNote"));
    m_note->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(m_title);
    layout->addWidget(m_note);
    layout->addStretch(1);
    setFixedSize(260, 160);
    retranslate();
}

QString DlpPanelPlaceholder::title() const
{
    return m_title->text();
}

void DlpPanelPlaceholder::retranslate()
{
    m_title->setText(tr(m_titleKey));
    m_note->setText(tr("panelComingSoon"));
}

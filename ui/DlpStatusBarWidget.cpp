#include "ui/DlpStatusBarWidget.h"

DlpStatusBarWidget::DlpStatusBarWidget(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("DlpStatusBarWidget"));
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("background:#f5f5f5;color:#cd335b;font-size:14px;"
                                 "padding:6px 18px;"));
    hide();
    retranslate();
}

void DlpStatusBarWidget::retranslate()
{
    setText(tr("overPrint"));
    if (isVisible()) {
        setFixedSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        setMinimumSize(0, 0);
        setFixedSize(sizeHint());
        place();
    }
}

void DlpStatusBarWidget::place()
{
    if (QWidget *parent = parentWidget()) {
        move((parent->width() - width()) / 2, parent->height() - height());
    }
}

void DlpStatusBarWidget::onOverBoundLabel(bool over)
{
    m_over = over;
    if (!over) {
        hide();
        return;
    }
    setText(tr("overPrint"));
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setFixedSize(sizeHint());
    place();
    raise();
    show();
}

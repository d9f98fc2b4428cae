#include "ui/IconHelper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPixmap>

IconHelper *IconHelper::instance()
{
    static QMutex mutex;
    static IconHelper *helper = nullptr;
    QMutexLocker lock(&mutex);
    if (!helper) {
        helper = new IconHelper;
    }
    return helper;
}

void IconHelper::setIcon(QAbstractButton *button, QStyle::StandardPixmap icon, int size) const
{
    QStyle *style = button->style() ? button->style() : QApplication::style();
    // The standard glyphs are dark; the title bar is dark too, so they are drawn in its text
    // colour, at twice the size for sharp edges on scaled screens.
    const qreal ratio = qMax<qreal>(2.0, button->devicePixelRatioF());
    QPixmap glyph = style->standardIcon(icon, nullptr, button).pixmap(QSize(size, size) * ratio);
    QPixmap tinted(glyph.size());
    tinted.fill(Qt::transparent);
    QPainter painter(&tinted);
    painter.drawPixmap(0, 0, glyph);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(tinted.rect(), m_color);
    painter.end();
    tinted.setDevicePixelRatio(ratio);
    button->setIcon(QIcon(tinted));
    button->setIconSize(QSize(size, size));
}

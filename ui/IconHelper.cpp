#include "ui/IconHelper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMutex>
#include <QMutexLocker>

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
    button->setIcon(style->standardIcon(icon, nullptr, button));
    button->setIconSize(QSize(size, size));
}

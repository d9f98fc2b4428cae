#include "UiTestSupport.h"

#include <QApplication>
#include <QTranslator>

namespace uitest
{

bool useLanguage(const QString &code)
{
    static QTranslator *installed = nullptr;
    auto *next = new QTranslator;
    if (!next->load(QStringLiteral(":/language/lang_%1.qm").arg(code))) {
        delete next;
        return false;
    }
    if (installed) {
        QApplication::removeTranslator(installed);
        delete installed;
    }
    installed = next;
    QApplication::installTranslator(installed);
    return true;
}

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

} // namespace uitest

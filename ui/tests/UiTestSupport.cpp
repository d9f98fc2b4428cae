#include "UiTestSupport.h"

#include "testsupport/TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
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

namespace uitest
{

QString isolatedUserFolder()
{
    static QTemporaryDir *folder = nullptr;
    if (!folder) {
        folder = new QTemporaryDir;
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("OrvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorUiTests"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           folder->filePath(QStringLiteral("settings")));
    }
    return folder->path();
}

} // namespace uitest

namespace uitest
{

QString programFolder()
{
    const QString fromCtest = testsupport::binDir();
    if (!fromCtest.isEmpty()) {
        return fromCtest;
    }
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../bin"));
}

} // namespace uitest

namespace uitest
{

MessageBoxAnswerer::MessageBoxAnswerer(const QString &buttonText)
    : m_buttonText(buttonText), m_timer(new QTimer)
{
    m_timer->setInterval(20);
    QObject::connect(m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer->start();
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    delete m_timer;
}

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        return;
    }
    m_texts << box->text();
    m_titles << box->windowTitle();
    QStringList buttons;
    for (QAbstractButton *button : box->buttons()) {
        buttons << button->text();
    }
    m_buttons << buttons.join(QLatin1Char('|'));
    QAbstractButton *chosen = box->defaultButton();
    for (QAbstractButton *button : box->buttons()) {
        // Shortcut marks ("&Yes") are not part of the text a user reads.
        if (!m_buttonText.isEmpty() && button->text().remove(QLatin1Char('&')) == m_buttonText) {
            chosen = button;
        }
    }
    if (!chosen && !box->buttons().isEmpty()) {
        chosen = box->buttons().first();
    }
    if (chosen) {
        chosen->click();
    } else {
        box->close();
    }
}

} // namespace uitest

#include "app/CDlpApplicationContext.h"

#include "app/CrashHandler.h"
#include "app/FileLogger.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QPalette>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace
{

CDlpApplicationContext::MainWindowFactory &mainWindowFactory()
{
    static CDlpApplicationContext::MainWindowFactory factory;
    return factory;
}

CDlpApplicationContext::VersionCheck &versionCheck()
{
    static CDlpApplicationContext::VersionCheck check;
    return check;
}

} // namespace

CDlpApplicationContext::CDlpApplicationContext(int &argc, char **argv) : QApplication(argc, argv)
{
    CrashHandler::install();

    setOrganizationName(QStringLiteral("Orvane"));
    setApplicationName(QStringLiteral("Resinor"));
    QSettings::setDefaultFormat(QSettings::IniFormat);

    auto *logSettings = new QSettings(logConfPath(), QSettings::IniFormat, this);
    m_logger = new FileLogger(logSettings, 10000, nullptr);
    m_logger->installMsgHandler();
    qDebug("logging system initialed!");

    {
        QSettings settings;
        const LanguageChoice language = chooseLanguage(QLocale::system().name(), settings);
        for (const QString &line : language.logLines)
            qDebug().noquote() << line;
        if (loadTranslation(m_translator, language.code))
            installTranslator(&m_translator);
    }

    setStyleSheet(readStyleSheet(QStringLiteral(":/css/title.css")));
    setPalette(QPalette(QColor(QStringLiteral("#F0F0F0"))));
    setWindowIcon(QIcon(QStringLiteral(":/Image/appIcon.png")));

    if (mainWindowFactory())
        m_mainWindow = mainWindowFactory()();
    if (!m_mainWindow) {
        qWarning("no main window is available in this build; nothing is shown");
        // Nothing could ever close the event loop: end it as soon as it starts.
        QTimer::singleShot(0, this, &QCoreApplication::quit);
        return;
    }
    m_mainWindow->show();

    if (QSettings().value(QStringLiteral("enableCheckNewVersion"), true).toBool()) {
        if (versionCheck())
            versionCheck()(m_mainWindow);
        else
            qDebug("the new-version check is not available in this build");
    } else {
        qDebug("the automatic new-version check is off");
    }
}

CDlpApplicationContext::~CDlpApplicationContext()
{
    delete m_logger;
    m_logger = nullptr;
}

void CDlpApplicationContext::setMainWindowFactory(MainWindowFactory factory)
{
    mainWindowFactory() = std::move(factory);
}

void CDlpApplicationContext::setVersionCheck(VersionCheck check)
{
    versionCheck() = std::move(check);
}

QString CDlpApplicationContext::logConfPath()
{
    const QString dir = QFileInfo(QSettings().fileName()).absolutePath();
    return QStringLiteral("%1/Resinor/logConf.ini").arg(dir);
}

CDlpApplicationContext::LanguageChoice
CDlpApplicationContext::chooseLanguage(const QString &localeName, QSettings &settings)
{
    LanguageChoice choice;
    choice.code = settings.value(QStringLiteral("softLang")).toString();
    if (!choice.code.isEmpty())
        return choice;

    choice.logLines << QStringLiteral("there is no language config item at software config file!");
    choice.code = localeName.left(2);
    if (!choice.code.contains(QLatin1String("zh")) && !choice.code.contains(QLatin1String("en"))) {
        choice.logLines << QStringLiteral("get language configt item from system native failed! "
                                          "values: %1")
                               .arg(localeName);
        choice.code = QStringLiteral("zh");
    }
    settings.setValue(QStringLiteral("softLang"), choice.code);
    return choice;
}

bool CDlpApplicationContext::loadTranslation(QTranslator &translator, const QString &code)
{
    return translator.load(QStringLiteral(":language/lang_%1.qm").arg(code));
}

QString CDlpApplicationContext::readStyleSheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray data = file.readAll();
    const int nul = data.indexOf('\0');
    if (nul >= 0)
        data.truncate(nul);
    return QString::fromUtf8(data);
}

#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <functional>

class FileLogger;
class QSettings;

// The application object that lives for the whole run. Its constructor is the start-up
// sequence: crash handler, organisation and application names, INI settings, file logger,
// user-interface language, style sheet and palette, main window.
class CDlpApplicationContext : public QApplication
{
    Q_OBJECT

  public:
    using MainWindowFactory = std::function<QWidget *()>;
    using VersionCheck = std::function<void(QWidget *mainWindow)>;

    struct LanguageChoice {
        QString code;
        QStringList logLines; // debug messages to log, in order
    };

    CDlpApplicationContext(int &argc, char **argv);
    // Deletes the logger; later messages go to Qt's default handler.
    ~CDlpApplicationContext() override;

    FileLogger *logger() const { return m_logger; }
    QWidget *mainWindow() const { return m_mainWindow; }

    // Registers how the main window is built (no parent; it lives until the process ends).
    static void setMainWindowFactory(MainWindowFactory factory);
    // Registers what starts the new-version check 3 s after the window is shown.
    static void setVersionCheck(VersionCheck check);

    // Path of the logging configuration beside the default per-user settings file. Needs the
    // organisation and application names and the INI default format set.
    static QString logConfPath();

    // Language code from "softLang" of `settings`; when missing, from the first two characters
    // of `localeName` ("zh" when those are neither "zh" nor "en"), stored back into `settings`.
    static LanguageChoice chooseLanguage(const QString &localeName, QSettings &settings);

    // Loads ":language/lang_<code>.qm" into `translator`; false when there is no such file.
    static bool loadTranslation(QTranslator &translator, const QString &code);

    // The style sheet text of the resource `path`, cut at its first NUL; empty if missing.
    static QString readStyleSheet(const QString &path);

  private:
    QTranslator m_translator;
    FileLogger *m_logger = nullptr;
    QWidget *m_mainWindow = nullptr;
};

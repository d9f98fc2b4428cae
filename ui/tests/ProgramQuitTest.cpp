// Starts the real Resinor program on the test's X display and closes its window from outside,
// the way a window manager does, answering its questions through the keyboard.
#ifdef RESINOR_TEST_X11

#include "XWindowDriver.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <functional>

namespace
{

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Waits up to `ms` milliseconds for `ready`, polling; true when it became true.
bool waitFor(const std::function<bool()> &ready, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (ready())
            return true;
        QThread::msleep(25);
    }
    return ready();
}

class ProgramQuit : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (testsupport::builtProgram(QStringLiteral("Resinor")).isEmpty())
            GTEST_SKIP() << "Resinor not built";
        if (!m_x.isOpen())
            GTEST_SKIP() << "no X display";
        ASSERT_TRUE(m_home.isValid());
        m_config = m_home.filePath(QStringLiteral("config"));
        m_log = m_home.filePath(QStringLiteral("resinor.log"));
        m_saveFolder = m_home.filePath(QStringLiteral("saves"));
        ASSERT_TRUE(QDir().mkpath(m_saveFolder));
        {
            QSettings logConf(m_config + QStringLiteral("/Orvane/Resinor/logConf.ini"),
                              QSettings::IniFormat);
            logConf.setValue(QStringLiteral("fileName"), m_log);
            logConf.setValue(QStringLiteral("msgFormat"), QStringLiteral("{type} {msg}"));
        }
        QSettings settings(m_config + QStringLiteral("/Orvane/Resinor.ini"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("softLang"), QStringLiteral("en"));
        settings.setValue(QStringLiteral("enableCheckNewVersion"), false);
        settings.setValue(QStringLiteral("path/lastExportPath"), m_saveFolder);
    }

    void TearDown() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    void start(const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config);
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("LIBGL_ALWAYS_SOFTWARE"), QStringLiteral("1"));
        env.insert(QStringLiteral("RESINOR_DISCOVERY_TARGET"), QStringLiteral("127.0.0.1"));
        // Qt's own file dialog, whatever desktop the machine has.
        env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        env.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(testsupport::builtProgram(QStringLiteral("Resinor")), arguments);
        ASSERT_TRUE(m_process.waitForStarted(10000));
    }

    bool running() { return m_process.state() != QProcess::NotRunning; }

    // The program's main window once it is shown and nothing else of it is on screen.
    XWindowDriver::WindowId mainWindow()
    {
        XWindowDriver::WindowId found = 0;
        waitFor(
            [&] {
                const auto windows = m_x.windowsOf(m_process.processId());
                found = 0;
                if (windows.size() == 1 && windows.front().transientFor == 0 &&
                    windows.front().width > 600)
                    found = windows.front().id;
                return found != 0 || !running();
            },
            20000);
        return found;
    }

    // A dialog of the program's main window, once it is shown and nothing else is on screen
    // besides the main window (the progress window of a job comes and goes meanwhile).
    XWindowDriver::Window dialog()
    {
        XWindowDriver::Window found;
        waitFor(
            [&] {
                const auto windows = m_x.windowsOf(m_process.processId());
                found = XWindowDriver::Window();
                for (const auto &window : windows) {
                    if (window.transientFor != 0) {
                        found = window;
                    }
                }
                return (found.id != 0 && windows.size() == 2) || !running();
            },
            10000);
        return found;
    }

    bool waitForDialogGone(XWindowDriver::WindowId id)
    {
        return waitFor(
            [&] {
                for (const auto &window : m_x.windowsOf(m_process.processId()))
                    if (window.id == id)
                        return false;
                return true;
            },
            10000);
    }

    // Waits until the start-up file is in the scene (the load logs its end).
    bool waitForLoaded()
    {
        return waitFor(
            [&] { return readAll(m_log).contains(QStringLiteral("load finished: 1 model")); },
            20000);
    }

    // Exit status when the program ended within `ms`, -1 when it still runs, -2 on a crash.
    int exitWithin(int ms)
    {
        if (!m_process.waitForFinished(ms))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -2;
    }

    QString writeBox()
    {
        const QString path = m_home.filePath(QStringLiteral("box.stl"));
        testsupport::writeFile(
            path, testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
        return path;
    }

    XWindowDriver m_x;
    QTemporaryDir m_home;
    QString m_config;
    QString m_log;
    QString m_saveFolder;
    QProcess m_process;
};

TEST_F(ProgramQuit, closingAnEmptySceneEndsTheProgram)
{
    start({});
    const XWindowDriver::WindowId window = mainWindow();
    ASSERT_NE(window, 0u) << "the main window was not shown";
    ASSERT_TRUE(m_x.requestClose(window));
    EXPECT_EQ(exitWithin(5000), 0);
}

// The close question is answered by its keyboard shortcut (Y, N) or Escape.
struct QuitAnswer {
    const char *name;
    unsigned long key;
    bool ends;
};

class ProgramQuitWithModel : public ProgramQuit, public ::testing::WithParamInterface<QuitAnswer>
{
};

TEST_P(ProgramQuitWithModel, asksAndThenEndsOrStays)
{
    const QuitAnswer &answer = GetParam();
    start({writeBox()});
    const XWindowDriver::WindowId window = mainWindow();
    ASSERT_NE(window, 0u) << "the main window was not shown";
    ASSERT_TRUE(waitForLoaded()) << qPrintable(readAll(m_log));
    ASSERT_TRUE(m_x.requestClose(window));
    const XWindowDriver::Window question = dialog();
    ASSERT_NE(question.id, 0u) << "no close question was shown";
    EXPECT_EQ(question.title, QStringLiteral("Tip"));
    ASSERT_TRUE(m_x.sendKey(question.id, answer.key));
    if (!answer.ends) {
        ASSERT_TRUE(waitForDialogGone(question.id));
        EXPECT_EQ(exitWithin(1000), -1) << "Cancel must keep the program open";
        // The window still answers: a second close, answered No, ends it.
        ASSERT_TRUE(m_x.requestClose(window));
        const XWindowDriver::Window again = dialog();
        ASSERT_NE(again.id, 0u) << "no close question the second time";
        ASSERT_TRUE(m_x.sendKey(again.id, XK_n));
    }
    EXPECT_EQ(exitWithin(5000), 0);
}

INSTANTIATE_TEST_SUITE_P(CDlpMainWindow, ProgramQuitWithModel,
                         ::testing::Values(QuitAnswer{"No", XK_n, true},
                                           QuitAnswer{"Cancel", XK_Escape, false}),
                         [](const ::testing::TestParamInfo<QuitAnswer> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(ProgramQuit, answeringYesSavesTheProjectAndEnds)
{
    start({writeBox()});
    const XWindowDriver::WindowId window = mainWindow();
    ASSERT_NE(window, 0u) << "the main window was not shown";
    ASSERT_TRUE(waitForLoaded()) << qPrintable(readAll(m_log));
    ASSERT_TRUE(m_x.requestClose(window));
    const XWindowDriver::Window question = dialog();
    ASSERT_NE(question.id, 0u) << "no close question was shown";
    ASSERT_TRUE(m_x.sendKey(question.id, XK_y));
    ASSERT_TRUE(waitForDialogGone(question.id));
    // The save dialog opens in the remembered export folder with the name field focused.
    const XWindowDriver::Window save = dialog();
    ASSERT_NE(save.id, 0u) << "no save dialog was shown";
    QThread::msleep(300);
    ASSERT_TRUE(m_x.typeText(save.id, QStringLiteral("saved")));
    ASSERT_TRUE(m_x.sendKey(save.id, XK_Return));
    ASSERT_TRUE(waitForDialogGone(save.id));
    const XWindowDriver::Window saved = dialog();
    ASSERT_NE(saved.id, 0u) << "the save was not confirmed";
    EXPECT_EQ(saved.title, QStringLiteral("Tip"));
    ASSERT_TRUE(m_x.sendKey(saved.id, XK_Return));
    const int status = exitWithin(5000);
    QString shown;
    for (const auto &w : m_x.windowsOf(m_process.processId()))
        shown += QStringLiteral("[%1 '%2' for %3] ").arg(w.id).arg(w.title).arg(w.transientFor);
    EXPECT_EQ(status, 0) << qPrintable(readAll(m_log)) << " saved " << saved.id << " windows "
                         << qPrintable(shown);
    EXPECT_TRUE(QFileInfo(m_saveFolder + QStringLiteral("/saved.vxpj")).size() > 0);
}

} // namespace

#endif // RESINOR_TEST_X11

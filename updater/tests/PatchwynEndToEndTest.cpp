#ifdef RESINOR_TEST_X11

#include "XWindowDriver.h"

#include "testsupport/TestFiles.h"
#include "update/standin/UpdateServiceStandIn.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The updater program from its start to the installer, driven from outside through its windows
// as a user at the keyboard does: Enter presses the action of each state, Escape answers Cancel.
// The service is the stand-in on 127.0.0.1; the "running program" is a copy of sleep the test
// starts under a unique name; the installer is a script that writes a marker file.

namespace
{

void put(const QString &root, const QString &relative, const QByteArray &bytes)
{
    const QString path = QDir(root).filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class PatchwynEndToEnd : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const QString built = testsupport::builtProgram(QStringLiteral("Patchwyn"));
        if (built.isEmpty())
            GTEST_SKIP() << "Patchwyn not built";
        if (!m_x.isOpen())
            GTEST_SKIP() << "no X display";
        ASSERT_TRUE(m_bin.isValid() && m_root.isValid() && m_temp.isValid());
        const QString id = QUuid::createUuid().toString(QUuid::Id128).left(12);
        m_key = QStringLiteral("Patchwyn-%1").arg(id);
        m_program = m_bin.filePath(m_key);
        ASSERT_TRUE(QFile::copy(built, m_program));
        m_name = QStringLiteral("ResinorDummy%1").arg(id);
        m_marker = m_temp.filePath(QStringLiteral("installed.marker"));

        m_service = std::make_unique<UpdateServiceStandIn>(m_root.path());
        ASSERT_TRUE(m_service->listen(0));
        const QString folder = QStringLiteral("programs/") + m_name.toLower() + '/';
        put(m_root.path(), folder + "version.txt", "1.0.0.2");
        put(m_root.path(), folder + "changelog.txt", "Better supports");
        put(m_root.path(), folder + "setup.sh",
            "#!/bin/sh\necho installed > '" + m_marker.toUtf8() + "'\n");

        // The running instance of the program being updated.
        const QString dummy = m_bin.filePath(m_name);
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), dummy));
        QFile::setPermissions(dummy, QFile::permissions(dummy) | QFileDevice::ExeOwner);
        m_dummy.start(dummy, {QStringLiteral("120")});
        ASSERT_TRUE(m_dummy.waitForStarted(5000));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("TMPDIR"), m_temp.path());
        m_updater.setProcessEnvironment(env);
        m_updater.start(m_program, {"--name", m_name, "--version", "1.0.0.1", "--url",
                                    m_service->baseUrl() + "/update/", "--language", "en"});
        ASSERT_TRUE(m_updater.waitForStarted(10000));
    }

    void TearDown() override
    {
        for (QProcess *process : {&m_updater, &m_dummy}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished();
            }
        }
        QLocalServer::removeServer(m_key);
    }

    // Serves the stand-in while waiting; collects the updater's log.
    bool waitFor(const std::function<bool()> &done, int ms = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            m_log += QString::fromLocal8Bit(m_updater.readAllStandardError());
            if (done())
                return true;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(10);
        }
        m_log += QString::fromLocal8Bit(m_updater.readAllStandardError());
        return done();
    }
    bool logged(const QString &line)
    {
        return waitFor([&] { return m_log.contains(line); });
    }

    XWindowDriver::WindowId mainWindow()
    {
        XWindowDriver::WindowId found = 0;
        waitFor([&] {
            const auto windows = m_x.windowsOf(m_updater.processId());
            found = windows.size() == 1 ? windows.front().id : 0;
            return found != 0;
        });
        return found;
    }
    // The question box shown over the main window.
    XWindowDriver::WindowId question(XWindowDriver::WindowId main)
    {
        XWindowDriver::WindowId found = 0;
        waitFor([&] {
            found = 0;
            for (const auto &window : m_x.windowsOf(m_updater.processId()))
                if (window.id != main)
                    found = window.id;
            return found != 0;
        });
        return found;
    }
    bool questionGone(XWindowDriver::WindowId main)
    {
        return waitFor([&] {
            const auto windows = m_x.windowsOf(m_updater.processId());
            return windows.size() == 1 && windows.front().id == main;
        });
    }

    XWindowDriver m_x;
    QTemporaryDir m_bin;
    QTemporaryDir m_root;
    QTemporaryDir m_temp;
    QString m_key;
    QString m_program;
    QString m_name;
    QString m_marker;
    std::unique_ptr<UpdateServiceStandIn> m_service;
    QProcess m_dummy;
    QProcess m_updater;
    QString m_log;
};

TEST_F(PatchwynEndToEnd, downloadsAsksEndsTheRunningProgramAndStartsTheInstaller)
{
    ASSERT_TRUE(logged("window shown")) << m_log.toStdString();
    EXPECT_TRUE(m_log.contains("state 1")) << m_log.toStdString();
    const XWindowDriver::WindowId main = mainWindow();
    ASSERT_NE(main, 0u) << m_log.toStdString();

    // Continue: the download runs into the temporary folder.
    ASSERT_TRUE(m_x.sendKey(main, XK_Return));
    ASSERT_TRUE(logged("state 3")) << m_log.toStdString();
    EXPECT_TRUE(m_log.contains("state 2"));
    EXPECT_TRUE(QFile::exists(m_temp.filePath("setup.sh")));

    // Install: the program is running; Cancel keeps it and stays in state 3.
    ASSERT_TRUE(m_x.sendKey(main, XK_Return));
    XWindowDriver::WindowId box = question(main);
    ASSERT_NE(box, 0u) << m_log.toStdString();
    ASSERT_TRUE(m_x.sendKey(box, XK_Escape));
    ASSERT_TRUE(logged("answered Cancel")) << m_log.toStdString();
    ASSERT_TRUE(questionGone(main));
    EXPECT_TRUE(m_log.contains(m_name + "is running, do you want to force the program to be "
                                        "closed to complete the upgrade?"))
        << m_log.toStdString();
    EXPECT_EQ(m_dummy.state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(m_marker));
    EXPECT_EQ(m_updater.state(), QProcess::Running);

    // Install again, Ok: the program is ended, the installer starts and the updater ends.
    ASSERT_TRUE(m_x.sendKey(main, XK_Return));
    box = question(main);
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(m_x.sendKey(box, XK_Return));
    ASSERT_TRUE(waitFor([&] { return m_updater.state() == QProcess::NotRunning; }))
        << m_log.toStdString();
    EXPECT_EQ(m_updater.exitCode(), 0);
    EXPECT_TRUE(m_log.contains("answered Ok"));
    EXPECT_TRUE(waitFor([&] { return m_dummy.state() == QProcess::NotRunning; }, 5000));
    EXPECT_TRUE(waitFor([&] { return QFile::exists(m_marker); }, 5000));
}

} // namespace

#endif

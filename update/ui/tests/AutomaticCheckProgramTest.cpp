#include "testsupport/TestFiles.h"
#include "update/UpdateService.h"
#include "update/standin/UpdateServiceStandIn.h"
#include "update/ui/SdUpdateInformation.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The real program started the way a user starts it, after the automatic check was switched off
// in the about dialog: nothing is started and the update service hears nothing.

namespace
{

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Processes this program's events (the stand-in answers) for `ms` or until `done` holds.
template <class Done> void serveFor(int ms, Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST(AutomaticCheck, switchedOffInTheAboutDialogStartsNothingAtTheNextStart)
{
    const QString program = testsupport::builtProgram(QStringLiteral("Resinor"));
    if (program.isEmpty())
        GTEST_SKIP() << "Resinor not built";
    QTemporaryDir home;
    QTemporaryDir root;
    ASSERT_TRUE(home.isValid() && root.isValid());
    UpdateServiceStandIn service(root.path());
    ASSERT_TRUE(service.listen(0));

    // The user unticks the box in the about dialog ...
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("ResinorAutomaticCheckTest"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("dialog"));
    UpdateService::setStarter([](const QString &, const QStringList &) { return true; });
    {
        SdUpdateInformation dialog(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                                   QStringLiteral("en"));
        dialog.refresh();
        ASSERT_TRUE(dialog.autoCheckBox()->isChecked());
        dialog.autoCheckBox()->click();
    }
    UpdateService::setStarter({});
    const QVariant stored = QSettings().value(QStringLiteral("enableCheckNewVersion"));
    ASSERT_TRUE(stored.isValid());

    // ... and that setting is what the program finds at its next start.
    const QString config = home.filePath(QStringLiteral("config"));
    const QString logFile = home.filePath(QStringLiteral("resinor.log"));
    {
        QSettings settings(config + QStringLiteral("/Orvane/Resinor.ini"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("enableCheckNewVersion"), stored);
        settings.setValue(QStringLiteral("update/serviceUrl"), service.baseUrl());
        settings.setValue(QStringLiteral("softLang"), QStringLiteral("en"));
        QSettings logConf(config + QStringLiteral("/Orvane/Resinor/logConf.ini"),
                          QSettings::IniFormat);
        logConf.setValue(QStringLiteral("fileName"), logFile);
        logConf.setValue(QStringLiteral("msgFormat"), QStringLiteral("{type} {msg}"));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("RESINOR_DISCOVERY_TARGET"), QStringLiteral("127.0.0.1"));
    env.remove(QStringLiteral("RESINOR_UPDATE_URL"));
    QProcess resinor;
    resinor.setProcessEnvironment(env);
    resinor.start(program, QStringList());
    ASSERT_TRUE(resinor.waitForStarted(10000));
    const QString offLine = QStringLiteral("the automatic new-version check is off");
    serveFor(30000, [&] {
        return readAll(logFile).contains(offLine) || resinor.state() == QProcess::NotRunning;
    });
    // Past the 3 s at which an automatic check would have started the updater.
    serveFor(4000, [&] { return resinor.state() == QProcess::NotRunning; });
    const bool stillRunning = resinor.state() == QProcess::Running;
    resinor.terminate();
    if (!resinor.waitForFinished(5000)) {
        resinor.kill();
        resinor.waitForFinished();
    }
    const QString log = readAll(logFile);
    EXPECT_TRUE(stillRunning) << log.toStdString();
    EXPECT_TRUE(log.contains(offLine)) << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("starting the updater"))) << log.toStdString();
    EXPECT_EQ(service.requestCount(), 0);
}

} // namespace

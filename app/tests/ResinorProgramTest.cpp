#include "testsupport/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Runs the built program the way a user starts it. Skipped when the program was not built
// beside the tests (RESINOR_TEST_BIN_DIR is set by CTest).

namespace
{

QString programPath()
{
    return testsupport::builtProgram(QStringLiteral("Resinor"));
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun runProgram(const QStringList &args, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(programPath(), args);
    ProgramRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

// Starts the GUI program and ends it once the start-up has logged `marker` (or it ended itself,
// as it does while no main window exists). Returns whether the marker appeared.
bool startUntilLogged(const QProcessEnvironment &env, const QString &logFile, const QString &marker,
                      int expectedCount)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(programPath(), QStringList());
    if (!process.waitForStarted(10000))
        return false;
    for (int i = 0; i < 300 && process.state() != QProcess::NotRunning; ++i) {
        if (readAll(logFile).count(marker) >= expectedCount)
            break;
        process.waitForFinished(100);
    }
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished();
        }
    }
    return readAll(logFile).count(marker) >= expectedCount;
}

} // namespace

TEST(ResinorProgram, HelpRunsWithoutAWindow)
{
    if (programPath().isEmpty())
        GTEST_SKIP() << "Resinor not built";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // a GUI object would fail without a display
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none"));
    const ProgramRun help = runProgram({QStringLiteral("--help")}, env);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--help"))) << help.out.toStdString();

    const ProgramRun unknown = runProgram({QStringLiteral("--no-such-verb")}, env);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("--no-such-verb")));
}

TEST(ResinorProgram, FirstStartLogsAndRemembersTheLanguage)
{
    if (programPath().isEmpty())
        GTEST_SKIP() << "Resinor not built";
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString config = home.filePath(QStringLiteral("config"));
    const QString logFile = home.filePath(QStringLiteral("resinor.log"));
    {
        QSettings logConf(config + QStringLiteral("/Orvane/Resinor/logConf.ini"),
                          QSettings::IniFormat);
        logConf.setValue(QStringLiteral("fileName"), logFile);
        logConf.setValue(QStringLiteral("msgFormat"), QStringLiteral("{type} {msg}"));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));

    const QString languageLine = QStringLiteral("there is no language config item");
    ASSERT_TRUE(startUntilLogged(env, logFile, languageLine, 1));
    const QString text = readAll(logFile);
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("DEBUG logging system initialed!\n"
                       "DEBUG there is no language config item at software config file!\n"
                       "DEBUG get language configt item from system native failed! values: "
                       "de_DE\n")))
        << text.toStdString();
    EXPECT_EQ(QSettings(config + QStringLiteral("/Orvane/Resinor.ini"), QSettings::IniFormat)
                  .value(QStringLiteral("softLang"))
                  .toString(),
              QStringLiteral("zh"));

    // The second start finds the stored language and does not ask the system again.
    ASSERT_TRUE(startUntilLogged(env, logFile, QStringLiteral("logging system initialed!"), 2));
    EXPECT_EQ(readAll(logFile).count(languageLine), 1);
}

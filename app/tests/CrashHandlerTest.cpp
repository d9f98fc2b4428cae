#include "app/CrashHandler.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace
{

enum class Crash { NullWrite, Abort, DivideByZero, StackOverflow };

volatile int g_zero = 0;

int recurse(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth > 100000000)
        return 0;
    return recurse(depth + 1) + frame[0];
}

// Runs in the death-test child: installs the handler without the report process, then crashes.
void crashIn(const QString &dir, Crash crash)
{
    if (!QDir::setCurrent(dir))
        _exit(3);
    CrashHandler::Options options;
    options.showReport = false;
    if (!CrashHandler::install(options))
        _exit(4);
    switch (crash) {
    case Crash::NullWrite:
        *reinterpret_cast<volatile int *>(static_cast<uintptr_t>(0x10) + g_zero) = 1;
        break;
    case Crash::Abort:
        abort();
    case Crash::DivideByZero:
        g_zero = 7 / g_zero;
        break;
    case Crash::StackOverflow:
        g_zero = recurse(0);
        break;
    }
    _exit(5);
}

struct CrashRow {
    const char *name;
    Crash crash;
    int signo;
    const char *addressLine; // expected "address: ..." line, or null when any address will do
};

class CrashHandlerDeathTest : public testing::TestWithParam<CrashRow>
{
};

} // namespace

TEST_P(CrashHandlerDeathTest, WritesTheReportAndDiesByTheSignal)
{
    const CrashRow &row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EXIT(crashIn(dir.path(), row.crash), testing::KilledBySignal(row.signo), "");

    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
    const QRegularExpression name(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d-dump\\.dmp$"));
    EXPECT_TRUE(name.match(files.first()).hasMatch()) << files.first().toStdString();

    QFile file(QDir(dir.path()).filePath(files.first()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString report = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(report.startsWith(QStringLiteral("Resinor crash report\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("\nsignal: %1\n").arg(row.signo)));
    if (row.addressLine) {
        EXPECT_TRUE(report.contains(QLatin1Char('\n') + QString::fromLatin1(row.addressLine) +
                                    QLatin1Char('\n')))
            << report.left(400).toStdString();
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\nbacktrace:\n(  [0-9a-f]+\n)+maps:\n"))
                    .match(report)
                    .hasMatch());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CrashHandlerDeathTest,
    testing::Values(CrashRow{"nullWrite", Crash::NullWrite, SIGSEGV, "address: 10"},
                    CrashRow{"abort", Crash::Abort, SIGABRT, "address: 0"},
                    CrashRow{"divideByZero", Crash::DivideByZero, SIGFPE, nullptr},
                    CrashRow{"stackOverflow", Crash::StackOverflow, SIGSEGV, nullptr}),
    [](const testing::TestParamInfo<CrashRow> &info) { return std::string(info.param.name); });

TEST(CrashHandlerDeathTest, WithoutAWritableFolderTheDefaultHandlingRemains)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString gone = dir.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkpath(gone));
    EXPECT_EXIT(
        {
            if (!QDir::setCurrent(gone) || !QDir().rmdir(gone))
                _exit(3);
            CrashHandler::Options options;
            options.showReport = false;
            CrashHandler::install(options);
            raise(SIGSEGV);
            _exit(5);
        },
        testing::KilledBySignal(SIGSEGV), "");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(CrashHandler, DumpFileNameFollowsTheStartTime)
{
    const QDateTime start(QDate(2019, 3, 4), QTime(5, 6, 7));
    EXPECT_EQ(CrashHandler::dumpFileName(start), QStringLiteral("2019-03-04-05-06-07-dump.dmp"));
}

TEST(CrashHandler, MessageText)
{
    EXPECT_EQ(CrashHandler::messageTitle(), QString::fromUtf8("程式崩溃"));
    EXPECT_EQ(CrashHandler::messageText(QStringLiteral("b"), QStringLiteral("7ffe0010")),
              QString::fromUtf8("<FONT size=4><div><b>对于发生的错误，致歉</b><br/></div>"
                                "<div>错误代码:b</div><div>错误地址:7ffe0010</div></FONT>"));
}

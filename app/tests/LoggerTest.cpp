#include "app/Logger.h"

#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace
{

// Keeps the formatted lines instead of writing them to stderr.
class CaptureLogger : public Logger
{
  public:
    using Logger::Logger;
    QStringList lines;
    // Called from write() once, to check that a message raised inside the logger does not
    // re-enter it.
    bool logFromWrite = false;

  protected:
    void write(const LogMessage &message) override
    {
        lines << message.toString(m_msgFormat, m_timestampFormat);
        if (logFromWrite) {
            logFromWrite = false;
            qWarning("raised while logging");
        }
    }
};

QStringList messagesOnly(const QStringList &lines)
{
    QStringList out;
    for (QString line : lines)
        out << line.remove(QLatin1Char('\n'));
    return out;
}

} // namespace

TEST(LoggerBuffering, TwoDebugMessagesAreWrittenWithTheWarning)
{
    CaptureLogger logger(QStringLiteral("{msg}"), QString(), 2, 3);
    logger.log(QtDebugMsg, QStringLiteral("d1"));
    logger.log(QtDebugMsg, QStringLiteral("d2"));
    EXPECT_TRUE(logger.lines.isEmpty());
    logger.log(QtWarningMsg, QStringLiteral("w"));
    EXPECT_EQ(messagesOnly(logger.lines), (QStringList{"d1", "d2", "w"}));
}

TEST(LoggerBuffering, BacklogKeepsOnlyTheLastRecordsBeforeTheWarning)
{
    CaptureLogger logger(QStringLiteral("{msg}"), QString(), 2, 3);
    for (const char *text : {"d1", "d2", "d3", "d4"})
        logger.log(QtDebugMsg, QString::fromLatin1(text));
    logger.log(QtWarningMsg, QStringLiteral("w"));
    EXPECT_EQ(messagesOnly(logger.lines), (QStringList{"d3", "d4", "w"}));

    // The backlog was emptied by the warning: a second warning comes alone.
    logger.log(QtWarningMsg, QStringLiteral("w2"));
    EXPECT_EQ(messagesOnly(logger.lines).last(), QStringLiteral("w2"));
    EXPECT_EQ(logger.lines.size(), 4);
}

TEST(LoggerBuffering, WithoutBufferMessagesBelowTheLevelAreDropped)
{
    CaptureLogger logger(QStringLiteral("{msg}"), QString(), 2, 0);
    logger.log(QtDebugMsg, QStringLiteral("d"));
    logger.log(QtCriticalMsg, QStringLiteral("c"));
    EXPECT_EQ(messagesOnly(logger.lines), QStringList{"c"});
}

TEST(LoggerBuffering, ClearEmptiesTheBacklog)
{
    CaptureLogger logger(QStringLiteral("{msg}"), QString(), 2, 3);
    logger.log(QtDebugMsg, QStringLiteral("d"));
    logger.clear(true, false);
    logger.log(QtWarningMsg, QStringLiteral("w"));
    EXPECT_EQ(messagesOnly(logger.lines), QStringList{"w"});
}

TEST(LoggerBuffering, BacklogsAreKeptPerThread)
{
    CaptureLogger logger(QStringLiteral("{msg}"), QString(), 2, 3);
    logger.log(QtDebugMsg, QStringLiteral("main"));
    QThread *worker = QThread::create([&logger] {
        logger.log(QtDebugMsg, QStringLiteral("worker"));
        logger.log(QtWarningMsg, QStringLiteral("worker warning"));
    });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_EQ(messagesOnly(logger.lines), (QStringList{"worker", "worker warning"}));
}

struct FormatRow {
    const char *name;
    const char *format;
    QtMsgType type;
    const char *message;
    const char *expected;
};

class LoggerFormat : public testing::TestWithParam<FormatRow>
{
};

TEST_P(LoggerFormat, ExpandsPlaceholders)
{
    const FormatRow &row = GetParam();
    CaptureLogger logger(QString::fromUtf8(row.format), QStringLiteral("yyyy"), 0, 0);
    Logger::set(QStringLiteral("user"), QStringLiteral("ann"));
    logger.log(row.type, QString::fromUtf8(row.message), QStringLiteral("part.cpp"),
               QStringLiteral("load"), 42);
    logger.clear(false, true);
    ASSERT_EQ(logger.lines.size(), 1);
    EXPECT_EQ(logger.lines.first(), QString::fromUtf8(row.expected) + QLatin1Char('\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LoggerFormat,
    testing::Values(
        FormatRow{"message", "{msg}", QtDebugMsg, "hello", "hello"},
        FormatRow{"debugType", "[{type}] {typeNr}", QtDebugMsg, "", "[DEBUG] 0"},
        FormatRow{"warningTypeIsPadded", "[{type}] {typeNr}", QtWarningMsg, "", "[WARN ] 2"},
        FormatRow{"criticalType", "[{type}] {typeNr}", QtCriticalMsg, "", "[ERROR] 3"},
        FormatRow{"infoTypeIsItsLevel", "[{type}] {typeNr}", QtInfoMsg, "", "[1] 1"},
        FormatRow{"origin", "{file}:{line} {function}", QtDebugMsg, "", "part.cpp:42 load"},
        FormatRow{"repeatedPlaceholder", "{msg}/{msg}", QtDebugMsg, "x", "x/x"},
        FormatRow{"threadVariable", "{user}: {msg}", QtDebugMsg, "hi", "ann: hi"},
        FormatRow{"unknownNameStays", "{nobody} {msg}", QtDebugMsg, "hi", "{nobody} hi"},
        FormatRow{"openBraceBeforePlaceholder", "{{msg}", QtDebugMsg, "hi", "{hi"},
        FormatRow{"messageBracesAreNotExpanded", "{msg}", QtDebugMsg, "{line} {user}",
                  "{line} {user}"}),
    [](const testing::TestParamInfo<FormatRow> &info) { return std::string(info.param.name); });

TEST(LoggerFormat, TimestampAndThread)
{
    CaptureLogger logger(QStringLiteral("{timestamp}|{thread}"),
                         QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"), 0, 0);
    logger.log(QtDebugMsg, QStringLiteral("x"));
    ASSERT_EQ(logger.lines.size(), 1);
    const QRegularExpression re(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\|(\\d+)\n$"));
    const QRegularExpressionMatch match = re.match(logger.lines.first());
    ASSERT_TRUE(match.hasMatch()) << logger.lines.first().toStdString();
    const auto expected =
        static_cast<quint32>(reinterpret_cast<quintptr>(QThread::currentThreadId()) & 0xffffffffu);
    EXPECT_EQ(match.captured(1).toUInt(), expected);
}

TEST(LoggerFormat, VariablesBelongToTheirThread)
{
    Logger::set(QStringLiteral("job"), QStringLiteral("main"));
    QString seenInWorker = QStringLiteral("unset");
    QThread *worker = QThread::create([&seenInWorker] { seenInWorker = Logger::get("job"); });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_TRUE(seenInWorker.isEmpty());
    EXPECT_EQ(Logger::get(QStringLiteral("job")), QStringLiteral("main"));
    Logger logger;
    logger.clear(false, true);
    EXPECT_TRUE(Logger::get(QStringLiteral("job")).isEmpty());
}

TEST(LoggerLevels, NamesMapToLevels)
{
    EXPECT_EQ(Logger::levelFromName("DEBUG"), 0);
    EXPECT_EQ(Logger::levelFromName("INFO"), 1);
    EXPECT_EQ(Logger::levelFromName("WARN"), 2);
    EXPECT_EQ(Logger::levelFromName("ERROR"), 3);
    EXPECT_EQ(Logger::levelFromName("FATAL"), 4);
    EXPECT_EQ(Logger::levelFromName("warn"), 0);
    EXPECT_EQ(Logger::levelFromName("VERBOSE"), 0);
}

TEST(LoggerHandler, InstalledLoggerReceivesQtMessagesUntilDeleted)
{
    {
        CaptureLogger logger(QStringLiteral("{type} {msg}"), QString(), 0, 0);
        logger.installMsgHandler();
        EXPECT_EQ(Logger::installedLogger(), &logger);
        qWarning("disk %d low", 3);
        ASSERT_EQ(logger.lines.size(), 1);
        EXPECT_EQ(logger.lines.first(), QStringLiteral("WARN  disk 3 low\n"));
    }
    EXPECT_EQ(Logger::installedLogger(), nullptr);
}

TEST(LoggerHandler, MessageRaisedWhileLoggingDoesNotReenterTheLogger)
{
    CaptureLogger logger(QStringLiteral("{msg}"), QString(), 0, 0);
    logger.installMsgHandler();
    logger.logFromWrite = true;
    qWarning("outer");
    // The inner warning went to stderr; the logger saw only the outer one.
    EXPECT_EQ(messagesOnly(logger.lines), QStringList{"outer"});
    qWarning("next");
    EXPECT_EQ(messagesOnly(logger.lines), (QStringList{"outer", "next"}));
}

TEST(LoggerHandlerDeathTest, FatalMessageAborts)
{
    EXPECT_EXIT(
        {
            CaptureLogger logger(QStringLiteral("{msg}"), QString(), 0, 0);
            logger.installMsgHandler();
            qFatal("cannot go on");
        },
        testing::KilledBySignal(SIGABRT), "");
}

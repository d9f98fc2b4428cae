#include "app/FileLogger.h"

#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace
{

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(file.readAll());
}

void writeText(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

// Collects the Qt warnings raised while it exists (no logger installed meanwhile).
class WarningCapture
{
  public:
    WarningCapture()
    {
        s_lines.clear();
        m_previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &msg) { s_lines << msg; });
    }
    ~WarningCapture() { qInstallMessageHandler(m_previous); }
    QStringList lines() const { return s_lines; }

  private:
    static inline QStringList s_lines;
    QtMessageHandler m_previous;
};

class FileLoggerTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_logPath = m_dir.filePath(QStringLiteral("logs/resinor.log"));
        m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("logConf.ini")),
                                                 QSettings::IniFormat);
        m_settings->setValue(QStringLiteral("fileName"), m_logPath);
        m_settings->sync();
    }

    void configure(const std::map<QString, QVariant> &values)
    {
        for (const auto &[key, value] : values)
            m_settings->setValue(key, value);
        m_settings->sync();
    }

    QTemporaryDir m_dir;
    QString m_logPath;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace

TEST_F(FileLoggerTest, AbsoluteFileNameIsUsedAsItIsAndItsFolderCreated)
{
    FileLogger logger(m_settings.get(), 0);
    EXPECT_EQ(logger.fileName(), m_logPath);
    EXPECT_TRUE(logger.isFileOpen());
    logger.log(QtDebugMsg, QStringLiteral("hello"));
    logger.flushAndRotate();
    EXPECT_TRUE(readText(m_logPath).endsWith(QStringLiteral(" DEBUG hello\n")));
}

TEST_F(FileLoggerTest, DefaultPatternWarningLine)
{
    FileLogger logger(m_settings.get(), 0);
    logger.log(QtWarningMsg, QStringLiteral("disk low"));
    logger.flushAndRotate();
    const QRegularExpression line(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}  0 WARN  disk low\n$"));
    EXPECT_TRUE(line.match(readText(m_logPath)).hasMatch()) << readText(m_logPath).toStdString();
}

TEST_F(FileLoggerTest, DefaultsWhenKeysAreMissing)
{
    FileLogger logger(m_settings.get(), 0);
    EXPECT_EQ(logger.maxSize(), 5242880);
    EXPECT_EQ(logger.maxBackups(), 2);
    EXPECT_EQ(logger.msgFormat(), QStringLiteral("{timestamp} {file} {line} {type} {msg}"));
    EXPECT_EQ(logger.timestampFormat(), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    EXPECT_EQ(logger.minLevel(), 0);
    EXPECT_EQ(logger.bufferSize(), 0);
}

TEST_F(FileLoggerTest, RelativeFileNameIsBesideTheExecutable)
{
    const QString relative =
        QStringLiteral("logtest-%1/x.log").arg(QCoreApplication::applicationPid());
    configure({{"fileName", relative}});
    const QDir exeDir(QCoreApplication::applicationDirPath());
    {
        FileLogger logger(m_settings.get(), 0);
        EXPECT_EQ(logger.fileName(), exeDir.filePath(relative));
        EXPECT_TRUE(QFile::exists(exeDir.filePath(relative)));
    }
    QDir(exeDir.filePath(relative.section(QLatin1Char('/'), 0, 0))).removeRecursively();
}

TEST_F(FileLoggerTest, RefreshPicksUpANewMinimumLevelAndFormat)
{
    configure({{"msgFormat", "{type} {msg}"}});
    FileLogger logger(m_settings.get(), 0);
    logger.log(QtDebugMsg, QStringLiteral("one"));

    // Another program (or the user) edits the configuration file.
    QSettings editor(m_settings->fileName(), QSettings::IniFormat);
    editor.setValue(QStringLiteral("minLevel"), QStringLiteral("WARN"));
    editor.setValue(QStringLiteral("msgFormat"), QStringLiteral("<{type}> {msg}"));
    editor.sync();

    logger.refreshSettings();
    logger.log(QtDebugMsg, QStringLiteral("two"));
    logger.log(QtWarningMsg, QStringLiteral("three"));
    logger.flushAndRotate();
    EXPECT_EQ(readText(m_logPath), QStringLiteral("DEBUG one\n<WARN > three\n"));
}

TEST_F(FileLoggerTest, RefreshSwitchesToANewFile)
{
    configure({{"msgFormat", "{msg}"}});
    FileLogger logger(m_settings.get(), 0);
    logger.log(QtDebugMsg, QStringLiteral("first"));
    const QString other = m_dir.filePath(QStringLiteral("other.log"));
    configure({{"fileName", other}});
    logger.refreshSettings();
    logger.log(QtDebugMsg, QStringLiteral("second"));
    logger.flushAndRotate();
    EXPECT_EQ(readText(m_logPath), QStringLiteral("first\n"));
    EXPECT_EQ(readText(other), QStringLiteral("second\n"));
}

TEST_F(FileLoggerTest, BufferedMessagesReachTheFileWithTheWarning)
{
    configure({{"msgFormat", "{msg}"}, {"minLevel", "WARN"}, {"bufferSize", 3}});
    FileLogger logger(m_settings.get(), 0);
    for (const char *text : {"a", "b", "c"})
        logger.log(QtDebugMsg, QString::fromLatin1(text));
    logger.log(QtWarningMsg, QStringLiteral("w"));
    logger.flushAndRotate();
    EXPECT_EQ(readText(m_logPath), QStringLiteral("b\nc\nw\n"));
}

TEST_F(FileLoggerTest, EmptyFileNameWarnsAndFallsBackToStderr)
{
    configure({{"fileName", ""}});
    WarningCapture warnings;
    FileLogger logger(m_settings.get(), 0);
    EXPECT_FALSE(logger.isFileOpen());
    EXPECT_TRUE(warnings.lines().contains(QStringLiteral("Name of logFile is empty")));
    logger.log(QtDebugMsg, QStringLiteral("to stderr")); // must not crash
}

TEST_F(FileLoggerTest, UnopenableFileWarns)
{
    // A directory of that name is in the way.
    QDir().mkpath(m_logPath);
    WarningCapture warnings;
    FileLogger logger(m_settings.get(), 0);
    EXPECT_FALSE(logger.isFileOpen());
    ASSERT_EQ(warnings.lines().size(), 1);
    EXPECT_TRUE(warnings.lines().first().startsWith(
        QStringLiteral("Cannot open log file %1: ").arg(m_logPath)))
        << warnings.lines().first().toStdString();
}

TEST_F(FileLoggerTest, WriteErrorClosesTheFileAndWarns)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    configure({{"fileName", "/dev/full"}});
    WarningCapture warnings;
    FileLogger logger(m_settings.get(), 0);
    ASSERT_TRUE(logger.isFileOpen());
    // Critical messages are flushed at once, which is when the full device refuses them.
    logger.log(QtCriticalMsg, QStringLiteral("lost"));
    EXPECT_FALSE(logger.isFileOpen());
    // Qt adds its own note about the device; ours names the file and the reason.
    const QStringList ours = warnings.lines().filter(QStringLiteral("Cannot write to log file"));
    ASSERT_EQ(ours.size(), 1) << warnings.lines().join('|').toStdString();
    EXPECT_TRUE(ours.first().startsWith(QStringLiteral("Cannot write to log file /dev/full: ")))
        << ours.first().toStdString();
    logger.log(QtCriticalMsg, QStringLiteral("to stderr now")); // no file: must not crash
}

struct RotationRow {
    const char *name;
    int maxBackups;
    int existingBackups;
    // Expected contents of the backups .1, .2, ... after one rotation; "" marks a missing file.
    std::vector<const char *> backups;
};

class FileLoggerRotation : public FileLoggerTest, public testing::WithParamInterface<RotationRow>
{
};

TEST_P(FileLoggerRotation, RotatesWhenTheFileHasReachedMaxSize)
{
    const RotationRow &row = GetParam();
    configure({{"msgFormat", "{msg}"}, {"maxSize", 8}, {"maxBackups", row.maxBackups}});
    QDir().mkpath(QFileInfo(m_logPath).absolutePath());
    for (int i = 1; i <= row.existingBackups; ++i)
        writeText(QStringLiteral("%1.%2").arg(m_logPath).arg(i), "old" + QByteArray::number(i));

    FileLogger logger(m_settings.get(), 0);
    logger.log(QtDebugMsg, QStringLiteral("short"));
    logger.flushAndRotate();
    // 6 bytes: still below the limit.
    EXPECT_EQ(readText(m_logPath), QStringLiteral("short\n"));
    logger.log(QtDebugMsg, QStringLiteral("more"));
    logger.flushAndRotate();

    EXPECT_TRUE(logger.isFileOpen());
    EXPECT_EQ(readText(m_logPath), QString());
    for (size_t i = 0; i < row.backups.size(); ++i) {
        const QString backup = QStringLiteral("%1.%2").arg(m_logPath).arg(i + 1);
        const QString expected = QString::fromLatin1(row.backups[i]);
        if (expected.isEmpty())
            EXPECT_FALSE(QFile::exists(backup)) << backup.toStdString();
        else
            EXPECT_EQ(readText(backup), expected) << backup.toStdString();
    }
    logger.log(QtDebugMsg, QStringLiteral("next"));
    logger.flushAndRotate();
    EXPECT_EQ(readText(m_logPath), QStringLiteral("next\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileLoggerRotation,
    testing::Values(RotationRow{"firstRotation", 2, 0, {"short\nmore\n", ""}},
                    RotationRow{"twoBackupsKept", 2, 2, {"short\nmore\n", "old1", ""}},
                    RotationRow{"oneBackupKept", 1, 1, {"short\nmore\n", ""}},
                    RotationRow{"unlimitedBackups", 0, 2, {"short\nmore\n", "old1", "old2", ""}},
                    RotationRow{"tooManyBackupsTrimmed", 2, 4, {"short\nmore\n", "old1", "", ""}}),
    [](const testing::TestParamInfo<RotationRow> &info) { return std::string(info.param.name); });

TEST_F(FileLoggerTest, NoRotationWhenMaxSizeIsZero)
{
    configure({{"msgFormat", "{msg}"}, {"maxSize", 0}});
    FileLogger logger(m_settings.get(), 0);
    logger.log(QtDebugMsg, QStringLiteral("a long enough line"));
    logger.flushAndRotate();
    EXPECT_FALSE(QFile::exists(m_logPath + QStringLiteral(".1")));
}

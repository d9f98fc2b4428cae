#include "UpdateTestSupport.h"

#include "testsupport/TestFiles.h"
#include "update/HttpQuery.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The stand-in service as the program people start: it listens on 127.0.0.1 at the given port
// (0: any), says where, answers, and is ended by the test that started it.

namespace
{

TEST(UpdateServerProgram, servesTheFolderOnLoopback)
{
    const QString program = testsupport::builtProgram(QStringLiteral("resinor-update-server"));
    if (program.isEmpty())
        GTEST_SKIP() << "resinor-update-server not built";
    updatetest::isolatedSettings();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    updatetest::put(root.path(), "act/windows_latestversion.txt", "version=1.0.0.9,url={base}/x");
    QProcess server;
    server.start(program, {"--root", root.path(), "--port", "0"});
    ASSERT_TRUE(server.waitForStarted(5000));
    QString line;
    for (int i = 0; i < 100 && !line.contains('\n'); ++i) {
        server.waitForReadyRead(100);
        line += QString::fromUtf8(server.readAllStandardOutput());
    }
    ASSERT_TRUE(line.startsWith("listening on http://127.0.0.1:")) << line.toStdString();
    const QString base = line.mid(13).trimmed();
    HttpQuery query(QStringLiteral("PC/upgradeUrl"));
    EXPECT_EQ(query.query("windows_latestversion", base + "/orvane3DsoftwareDLP/").toStdString(),
              ("version=1.0.0.9,url=" + base + "/x").toStdString());
    EXPECT_EQ(query.query("nosuch", base + "/orvane3DsoftwareDLP/").toStdString(),
              "errornum:*#0000noact");
    server.terminate();
    EXPECT_TRUE(server.waitForFinished(5000));
}

TEST(UpdateServerProgram, refusesAMissingFolder)
{
    const QString program = testsupport::builtProgram(QStringLiteral("resinor-update-server"));
    if (program.isEmpty())
        GTEST_SKIP() << "resinor-update-server not built";
    QProcess server;
    server.start(program, {"--root", "/nonexistent/resinor-update-root", "--port", "0"});
    ASSERT_TRUE(server.waitForFinished(5000));
    EXPECT_EQ(server.exitCode(), 2);
    EXPECT_TRUE(server.readAllStandardError().contains("--root needs an existing folder"));
}

} // namespace

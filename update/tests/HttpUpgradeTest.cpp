#include "UpdateTestSupport.h"

#include "update/DlpPCUpdater.h"
#include "update/DlpRPiUpdater.h"
#include "update/HttpQuery.h"
#include "update/standin/UpdateServiceStandIn.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace
{

using updatetest::put;

// A stand-in service on 127.0.0.1 serving a fresh folder, and a download folder.
class UpdateService : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        updatetest::isolatedSettings();
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(m_downloads.isValid());
        m_service = std::make_unique<UpdateServiceStandIn>(m_root.path());
        QString error;
        ASSERT_TRUE(m_service->listen(0, &error)) << error.toStdString();
    }

    QString endpoint() const { return m_service->baseUrl() + "/orvane3DsoftwareDLP/"; }
    QString fileUrl(const QString &name) const { return m_service->baseUrl() + "/files/" + name; }
    void offer(const QByteArray &reply)
    {
        put(m_root.path(), "act/windows_latestversion.txt", reply);
    }
    void file(const QString &name, const QByteArray &bytes)
    {
        put(m_root.path(), "files/" + name, bytes);
    }
    QString downloaded(const QString &name) const
    {
        return QDir(m_downloads.path()).filePath(name);
    }

    template <class Updater> void prepare(Updater &updater)
    {
        updater.setEndpoint(endpoint());
        updater.query()->setDownloadFolder(m_downloads.path());
    }

    QTemporaryDir m_root;
    QTemporaryDir m_downloads;
    std::unique_ptr<UpdateServiceStandIn> m_service;
};

struct CheckCase {
    const char *name;
    const char *reply; // empty: the action is not offered at all
    bool ok;
    const char *message; // the message, or the offered version on success
};

class VersionCheck : public UpdateService, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(VersionCheck, againstTheStandIn)
{
    const CheckCase &c = GetParam();
    if (*c.reply)
        offer(c.reply);
    DlpPCUpdater updater(QStringLiteral("1.0.9.0"));
    prepare(updater);
    const HttpUpgrade::Result result =
        updater.checkVersion(QStringLiteral("windows_latestversion"), QStringLiteral("1.0.9.0"));
    EXPECT_EQ(result.first, c.ok);
    if (c.ok) {
        const QStringList found = result.second.toStringList();
        ASSERT_EQ(found.size(), 3);
        EXPECT_EQ(found[0].toStdString(), c.message);
        EXPECT_EQ(found[1].toStdString(), "1.0.9.0");
    } else {
        EXPECT_EQ(result.second.toString().toStdString(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    HttpUpgrade, VersionCheck,
    ::testing::Values(CheckCase{"newerByInteger",
                                "act=windows_latestversion,version=1.0.10.0,url={base}/files/a",
                                true, "1.0.10.0"},
                      CheckCase{"noNewVersion", "act=windows_latestversion,version=1.0.9.0,url=x",
                                false, "No new version to upgrade"},
                      CheckCase{"threePartVersion", "act=windows_latestversion,version=1.2.3,url=x",
                                false, "No new version to upgrade"},
                      CheckCase{"emptyUrlValuePasses", "version=2.0.0.0,url=", true, "2.0.0.0"},
                      CheckCase{"missingUrl", "act=windows_latestversion,version=2.0.0.0", false,
                                "url unit is empty!"},
                      CheckCase{"missingVersion", "act=windows_latestversion,url=x", false,
                                "version unit is empty!"},
                      CheckCase{"actionNotOffered", "", false, "errornum:*#0000noact"},
                      CheckCase{"timeoutMarkerInReply", "version=2.0.0.0,url=timeout", false,
                                "version=2.0.0.0,url=timeout"}),
    [](const ::testing::TestParamInfo<CheckCase> &info) { return info.param.name; });

TEST_F(UpdateService, httpErrorGivesTheStatusCodeAndNoVersion)
{
    HttpQuery query(QStringLiteral("PC/upgradeUrl"));
    EXPECT_EQ(query
                  .query(QStringLiteral("windows_latestversion"),
                         m_service->baseUrl() + "/no/such/endpoint/")
                  .toStdString(),
              "404");
    DlpPCUpdater updater(QStringLiteral("1.0.0.0"));
    updater.setEndpoint(m_service->baseUrl() + "/no/such/endpoint/");
    const HttpUpgrade::Result result = updater.check();
    EXPECT_FALSE(result.first);
    EXPECT_EQ(result.second.toString().toStdString(), "error:version unit is empty!");
}

TEST_F(UpdateService, serviceThatNeverAnswersTimesOut)
{
    m_service->setNeverAnswer(true);
    DlpPCUpdater updater(QStringLiteral("1.0.0.0"));
    prepare(updater);
    const HttpUpgrade::Result result = updater.check();
    EXPECT_FALSE(result.first);
    EXPECT_EQ(result.second.toString().toStdString(), "error:timeout");
    EXPECT_EQ(m_service->requestCount(), 1);
}

TEST(HttpUpgrade, listenerThatNeverAcceptsDataTimesOut)
{
    // A bare listener: the connection is made, nothing is ever read or written.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    HttpQuery query(QStringLiteral("PC/upgradeUrl"));
    query.setQueryTimeout(500);
    EXPECT_EQ(
        query
            .query(
                QStringLiteral("windows_latestversion"),
                QStringLiteral("http://127.0.0.1:%1/orvane3DsoftwareDLP/").arg(silent.serverPort()))
            .toStdString(),
        "timeout");
}

TEST(HttpUpgrade, withoutAServiceNothingIsAsked)
{
    updatetest::isolatedSettings();
    DlpPCUpdater updater(QStringLiteral("1.0.0.0"));
    updater.setEndpoint(QString());
    const HttpUpgrade::Result result = updater.check();
    EXPECT_FALSE(result.first);
    EXPECT_EQ(result.second.toString().toStdString(), "error:updates are not configured");
}

TEST_F(UpdateService, checkRemembersTheAddressAndForgetsItAfterAFailure)
{
    offer("act=windows_latestversion,version=1.0.0.2,url=http://example.invalid/setup.exe");
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    prepare(updater);
    const HttpUpgrade::Result ok = updater.check();
    EXPECT_TRUE(ok.first);
    EXPECT_EQ(ok.second.toString().toStdString(),
              "tip:New Version:1.0.0.2\nCurrent Version:1.0.0.1\nAre you sure to Upgrade?");
    EXPECT_EQ(QSettings().value("PC/upgradeUrl").toString().toStdString(),
              "http://example.invalid/setup.exe");
    offer("act=windows_latestversion,version=1.0.0.1,url=x");
    EXPECT_FALSE(updater.check().first);
    EXPECT_TRUE(QSettings().value("PC/upgradeUrl").toString().isEmpty());
}

TEST_F(UpdateService, downloadReportsProgressWithARate)
{
    const QByteArray bytes(300 * 1024, 'r');
    file("setup.bin", bytes);
    m_service->setThrottle(16 * 1024, 10);
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    prepare(updater);
    QSignalSpy progress(&updater, &HttpUpgrade::sProgress);
    QSignalSpy errors(&updater, &HttpUpgrade::sError);
    const QString path = updater.download(fileUrl("setup.bin"));
    EXPECT_EQ(path, downloaded("setup.bin"));
    EXPECT_EQ(errors.count(), 0);
    QFile result(path);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), bytes);
    EXPECT_FALSE(QFile::exists(path + ".part"));
    ASSERT_GE(progress.count(), 2);
    const QList<QVariant> last = progress.last();
    EXPECT_EQ(last[1].toLongLong(), bytes.size());
    EXPECT_EQ(last[2].toLongLong(), bytes.size());
    const QRegularExpression rate(QStringLiteral("^\\d+\\.\\d{3} (bytes/sec|kB/s|MB/s)$"));
    EXPECT_TRUE(rate.match(last[0].toString()).hasMatch()) << last[0].toString().toStdString();
}

TEST_F(UpdateService, cancelMidDownloadRemovesThePartAndFinishes)
{
    file("big.bin", QByteArray(2 * 1024 * 1024, 'b'));
    put(m_downloads.path(), "big.bin", "the previous good file");
    m_service->setThrottle(8 * 1024, 10);
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    prepare(updater);
    QSignalSpy finished(&updater, &HttpUpgrade::sFinished);
    QSignalSpy errors(&updater, &HttpUpgrade::sError);
    qlonglong cancelledAt = -1;
    QObject::connect(&updater, &HttpUpgrade::sProgress, &updater,
                     [&](const QString &, qlonglong received, qlonglong) {
                         if (cancelledAt < 0 && received > 0) {
                             cancelledAt = received;
                             emit updater.sCancel(true);
                         }
                     });
    const QString path = updater.download(fileUrl("big.bin"));
    EXPECT_TRUE(path.isEmpty());
    EXPECT_GT(cancelledAt, 0);
    EXPECT_LT(cancelledAt, 2 * 1024 * 1024);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(errors.count(), 1);
    EXPECT_FALSE(QFile::exists(downloaded("big.bin.part")));
    QFile previous(downloaded("big.bin"));
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("the previous good file"));
}

TEST_F(UpdateService, cancelWithoutADownloadOnlyFinishes)
{
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    QSignalSpy finished(&updater, &HttpUpgrade::sFinished);
    emit updater.sCancel(true);
    EXPECT_EQ(finished.count(), 1);
}

struct BadDownloadCase {
    const char *name;
    bool shortBody;
    const char *file; // served file; empty: not there (HTTP 404)
};

class BadDownload : public UpdateService, public ::testing::WithParamInterface<BadDownloadCase>
{
};

TEST_P(BadDownload, isNeitherKeptNorReturned)
{
    const BadDownloadCase &c = GetParam();
    if (*c.file)
        file(c.file, QByteArray(100 * 1024, 'x'));
    m_service->setShortFiles(c.shortBody);
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    prepare(updater);
    QSignalSpy errors(&updater, &HttpUpgrade::sError);
    EXPECT_TRUE(updater.download(fileUrl("setup.bin")).isEmpty());
    EXPECT_EQ(errors.count(), 1);
    EXPECT_FALSE(QFile::exists(downloaded("setup.bin")));
    EXPECT_FALSE(QFile::exists(downloaded("setup.bin.part")));
    EXPECT_TRUE(updater.query()->lastDownloadPath().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    HttpUpgrade, BadDownload,
    ::testing::Values(BadDownloadCase{"shorterThanAnnounced", true, "setup.bin"},
                      BadDownloadCase{"httpError", false, ""}),
    [](const ::testing::TestParamInfo<BadDownloadCase> &info) { return info.param.name; });

TEST_F(UpdateService, downloadTargetThatCannotBeCreatedIsReported)
{
    file("setup.bin", "x");
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    prepare(updater);
    // A plain file where the download folder should be.
    put(m_downloads.path(), "notAFolder", "x");
    updater.query()->setDownloadFolder(downloaded("notAFolder"));
    QSignalSpy errors(&updater, &HttpUpgrade::sError);
    EXPECT_TRUE(updater.download(fileUrl("setup.bin")).isEmpty());
    ASSERT_EQ(errors.count(), 1);
    EXPECT_TRUE(errors[0][0].toString().contains("Cannot create"))
        << errors[0][0].toString().toStdString();
    EXPECT_EQ(m_service->requestCount(), 0);
}

struct NameCase {
    const char *name;
    const char *url;
    const char *file;
};

class DownloadName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(DownloadName, isAPlainName)
{
    EXPECT_EQ(HttpQuery::fileNameFor(QUrl(QString::fromLatin1(GetParam().url))).toStdString(),
              GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    HttpQuery, DownloadName,
    ::testing::Values(NameCase{"lastComponent", "http://h/a/b/setup.exe", "setup.exe"},
                      NameCase{"trailingSlash", "http://h/a/b/", "index.html"},
                      NameCase{"noPath", "http://h", "index.html"},
                      NameCase{"queryIgnored", "http://h/f.bin?x=1", "f.bin"},
                      NameCase{"encodedClimb", "http://h/a/%2E%2E", "index.html"}),
    [](const ::testing::TestParamInfo<NameCase> &info) { return info.param.name; });

TEST_F(UpdateService, controllerUpdateHandsTheDownloadOn)
{
    file("rpi.tar.gz", "package bytes");
    put(m_root.path(), "act/RasspberryPiA_latestversion.txt",
        "act=RasspberryPiA_latestversion,version=2.1.0.0,url={base}/files/rpi.tar.gz");
    DlpRPiUpdater updater(QStringLiteral("2.0.0.7"));
    prepare(updater);
    QStringList asked;
    updater.setQuestion([&](const QString &title, const QString &text) {
        asked << title << text;
        return true;
    });
    QSignalSpy upload(&updater, &DlpRPiUpdater::sUpload);
    updater.upgrade();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].toStdString(), "upgrade");
    EXPECT_TRUE(asked[1].startsWith("tip:New Version:2.1.0.0\nCurrent Version:2.0.0.7"));
    ASSERT_EQ(upload.count(), 1);
    EXPECT_EQ(upload[0][0].toString(), downloaded("rpi.tar.gz"));
    EXPECT_EQ(QSettings().value("RPi/upgradeUrl").toString(), fileUrl("rpi.tar.gz"));
}

TEST_F(UpdateService, controllerUpdateAnsweredNoDownloadsNothing)
{
    file("rpi.tar.gz", "package bytes");
    put(m_root.path(), "act/RasspberryPiA_latestversion.txt",
        "version=2.1.0.0,url={base}/files/rpi.tar.gz");
    DlpRPiUpdater updater(QStringLiteral("2.0.0.7"));
    prepare(updater);
    updater.setQuestion([](const QString &, const QString &) { return false; });
    QSignalSpy upload(&updater, &DlpRPiUpdater::sUpload);
    updater.upgrade();
    EXPECT_EQ(upload.count(), 0);
    EXPECT_EQ(m_service->requestCount(), 1);
}

TEST_F(UpdateService, failedCheckIsShownAsInformation)
{
    DlpRPiUpdater updater(QStringLiteral("2.0.0.7"));
    prepare(updater);
    QSignalSpy info(&updater, &HttpUpgrade::sShowInfo);
    updater.upgrade();
    ASSERT_EQ(info.count(), 1);
    EXPECT_EQ(info[0][0].toString().toStdString(), "error:errornum:*#0000noact");
}

struct LeaveCase {
    const char *name;
    bool leave;
};

class PcInstall : public UpdateService, public ::testing::WithParamInterface<LeaveCase>
{
};

TEST_P(PcInstall, startsTheInstallerOnlyWhenTheProgramMayEnd)
{
    file("Resinor-setup.bin", "installer");
    offer("version=1.0.0.2,url={base}/files/Resinor-setup.bin");
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    prepare(updater);
    updater.setQuestion([](const QString &, const QString &) { return true; });
    int asked = 0;
    updater.setLeaveRequest([&] {
        ++asked;
        return GetParam().leave;
    });
    QString started;
    updater.setInstallerStarter([&](const QString &path, QString *) {
        started = path;
        return true;
    });
    int ended = 0;
    updater.setEndProgram([&] { ++ended; });
    QSignalSpy info(&updater, &HttpUpgrade::sShowInfo);
    updater.upgrade();
    EXPECT_EQ(asked, 1);
    if (GetParam().leave) {
        EXPECT_EQ(started, downloaded("Resinor-setup.bin"));
        EXPECT_EQ(ended, 1);
    } else {
        EXPECT_TRUE(started.isEmpty());
        EXPECT_EQ(ended, 0);
        ASSERT_EQ(info.count(), 1);
        EXPECT_TRUE(info[0][0].toString().contains(downloaded("Resinor-setup.bin")));
    }
    EXPECT_TRUE(QFile::exists(downloaded("Resinor-setup.bin")));
}

INSTANTIATE_TEST_SUITE_P(DlpPCUpdater, PcInstall,
                         ::testing::Values(LeaveCase{"userLetsTheProgramEnd", true},
                                           LeaveCase{"userCancelsTheCloseQuestion", false}),
                         [](const ::testing::TestParamInfo<LeaveCase> &info) {
                             return info.param.name;
                         });

} // namespace

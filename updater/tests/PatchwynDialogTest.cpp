#include "update/standin/UpdateServiceStandIn.h"
#include "updater/Patchwyn.h"
#include "updater/ProcessControl.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QUuid>

#include <gtest/gtest.h>

#include <memory>

// The updater's dialog against the stand-in service on 127.0.0.1, clicked as a user does. The
// running instance it ends is a dummy the test starts under a unique name; the installer it
// starts is a script that writes a marker file.

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

class PatchwynDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid() && m_temp.isValid() && m_bin.isValid());
        m_name = QStringLiteral("PatchwynDummy%1")
                     .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
        m_service = std::make_unique<UpdateServiceStandIn>(m_root.path());
        ASSERT_TRUE(m_service->listen(0));
        m_marker = m_temp.filePath(QStringLiteral("installed.marker"));
    }

    void TearDown() override
    {
        if (m_dummy && m_dummy->state() != QProcess::NotRunning) {
            m_dummy->kill();
            m_dummy->waitForFinished();
        }
    }

    QString folder() const { return QStringLiteral("programs/") + m_name.toLower() + '/'; }
    QString url() const { return m_service->baseUrl() + QStringLiteral("/update/"); }

    // Offers `version` with a change log and an installer script writing the marker file.
    void offer(const QByteArray &version)
    {
        put(m_root.path(), folder() + "version.txt", version + '\n');
        put(m_root.path(), folder() + "changelog.txt", "Faster slicing\nFixed \"quotes\"");
        put(m_root.path(), folder() + "install.sh", installer());
    }
    QByteArray installer() const
    {
        return "#!/bin/sh\necho installed > '" + m_marker.toUtf8() + "'\n";
    }

    std::unique_ptr<Patchwyn> dialog(const QString &current = QStringLiteral("1.0.0.1"))
    {
        auto d = std::make_unique<Patchwyn>();
        d->setDownloadFolder(m_temp.path());
        d->client()->setTimeout(1000);
        d->setQuestion([this](const QString &title, const QString &text) {
            m_questions << title + QLatin1Char('|') + text;
            return m_answerOk;
        });
        d->setup(m_name, current, url(), QStringLiteral("en"));
        d->show();
        return d;
    }

    // Continue, then wait for the end of the download.
    void download(Patchwyn &d)
    {
        ASSERT_EQ(d.state(), 1);
        d.actionButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(d.state() != 2, 10000);
    }

    // A copy of `sleep` under the unique program name, started by this test.
    void startDummy()
    {
        const QString exe = m_bin.filePath(m_name);
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), exe));
        QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);
        m_dummy = std::make_unique<QProcess>();
        m_dummy->start(exe, {QStringLiteral("60")});
        ASSERT_TRUE(m_dummy->waitForStarted(5000));
        QTRY_COMPARE_WITH_TIMEOUT(ProcessControl::findRunning(m_name).size(), 1, 5000);
    }

    QTemporaryDir m_root;
    QTemporaryDir m_temp;
    QTemporaryDir m_bin;
    QString m_name;
    QString m_marker;
    std::unique_ptr<UpdateServiceStandIn> m_service;
    std::unique_ptr<QProcess> m_dummy;
    QStringList m_questions;
    bool m_answerOk = true;
};

TEST_F(PatchwynDialog, noNewVersionIsState0)
{
    offer("1.0.0.1");
    auto d = dialog();
    EXPECT_EQ(d->state(), 0);
    EXPECT_EQ(d->infoLabel()->text().toStdString(), "No upgrades available");
    EXPECT_FALSE(d->actionButton()->isEnabled());
    EXPECT_EQ(d->actionButton()->styleSheet(), Patchwyn::greyStyle());
    EXPECT_EQ(d->secondButton()->text().toStdString(), "Ok");
    EXPECT_EQ(d->secondButton()->styleSheet(), Patchwyn::secondStyle());
}

TEST_F(PatchwynDialog, numericallyNewerVersionIsOfferedWithItsChangeLog)
{
    offer("1.10.0.0");
    auto d = dialog(QStringLiteral("1.9.0.0"));
    EXPECT_EQ(d->state(), 1);
    EXPECT_EQ(d->offeredVersion().toStdString(), "1.10.0.0");
    EXPECT_EQ(d->infoLabel()->text().toStdString(),
              "Do you want to continue with the upgrade file?");
    EXPECT_TRUE(d->actionButton()->isEnabled());
    EXPECT_EQ(d->actionButton()->text().toStdString(), "Continue");
    EXPECT_EQ(d->actionButton()->styleSheet(), Patchwyn::blueStyle());
    EXPECT_EQ(d->secondButton()->text().toStdString(), "Cancel");
    const QString log = d->logView()->toPlainText();
    EXPECT_TRUE(log.startsWith(QStringLiteral("1.10.0.0 update:"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("Faster slicing\nFixed 'quotes'")))
        << log.toStdString();
}

TEST_F(PatchwynDialog, olderOfferIsNotAnUpdate)
{
    offer("1.9.0.0");
    auto d = dialog(QStringLiteral("1.10.0.0"));
    EXPECT_EQ(d->state(), 0);
}

TEST_F(PatchwynDialog, replyWithoutSuccessIsShownRaw)
{
    auto d = dialog(); // the program is unknown to the service
    EXPECT_EQ(d->state(), 0);
    EXPECT_TRUE(d->infoLabel()->text().startsWith(QStringLiteral("error=\"unknown program")))
        << d->infoLabel()->text().toStdString();
}

TEST_F(PatchwynDialog, serviceThatNeverAnswersLeavesAMessage)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    Patchwyn d;
    d.client()->setTimeout(500);
    d.setup(m_name, QStringLiteral("1.0.0.1"),
            QStringLiteral("http://127.0.0.1:%1/update/").arg(silent.serverPort()),
            QStringLiteral("en"));
    EXPECT_EQ(d.state(), 0);
    EXPECT_TRUE(d.infoLabel()->text().contains(QStringLiteral("did not answer")))
        << d.infoLabel()->text().toStdString();
}

TEST_F(PatchwynDialog, continueDownloadsIntoTheTemporaryFolder)
{
    offer("1.0.0.2");
    m_service->setThrottle(64, 5);
    auto d = dialog();
    d->actionButton()->click();
    EXPECT_EQ(d->state(), 2);
    EXPECT_EQ(d->infoLabel()->text().toStdString(), "Downloading upgrade file ...");
    EXPECT_FALSE(d->actionButton()->isEnabled());
    EXPECT_EQ(d->actionButton()->styleSheet(), Patchwyn::greyStyle());
    QTRY_VERIFY_WITH_TIMEOUT(d->state() != 2, 10000);
    EXPECT_EQ(d->state(), 3);
    EXPECT_EQ(d->actionButton()->text().toStdString(), "Install");
    EXPECT_EQ(d->actionButton()->styleSheet(), Patchwyn::blueStyle());
    EXPECT_GT(d->progressBar()->maximum(), 0);
    EXPECT_EQ(d->downloadedFile(), m_temp.filePath(QStringLiteral("install.sh")));
    QFile file(d->downloadedFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), installer());
}

struct BadOfferCase {
    const char *name;
    const char *downloadUrlReply; // {sha} becomes the installer's sha256
    bool shortFiles;
    int state;
    const char *info;
};

class BadOffer : public PatchwynDialog, public ::testing::WithParamInterface<BadOfferCase>
{
};

TEST_P(BadOffer, isNeverKeptForInstalling)
{
    const BadOfferCase &c = GetParam();
    offer("1.0.0.2");
    QByteArray reply(c.downloadUrlReply);
    reply.replace("{dir}", m_name.toLower().toUtf8());
    reply.replace("{sha}",
                  QCryptographicHash::hash(installer(), QCryptographicHash::Sha256).toHex());
    if (!reply.isEmpty())
        put(m_root.path(), folder() + "download_url.txt", reply);
    m_service->setShortFiles(c.shortFiles);
    auto d = dialog();
    download(*d);
    EXPECT_EQ(d->state(), c.state);
    EXPECT_TRUE(d->infoLabel()->text().contains(QString::fromUtf8(c.info)))
        << d->infoLabel()->text().toStdString();
    const QStringList left = QDir(m_temp.path()).entryList(QDir::Files | QDir::Hidden);
    if (c.state != 3) {
        EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    }
    // Nothing was written outside the temporary folder.
    EXPECT_FALSE(QFile::exists(QDir(m_temp.path()).filePath("../evil.sh")));
}

INSTANTIATE_TEST_SUITE_P(
    Patchwyn, BadOffer,
    ::testing::Values(
        BadOfferCase{"shorterThanAnnounced", "", true, 1, "The download failed"},
        BadOfferCase{"checksumMismatch",
                     "success=\"true\" path=\"{dir}/install.sh\" name=\"install.sh\" "
                     "sha256=\"0000000000000000000000000000000000000000000000000000000000000000\"",
                     false, 1, "does not match its checksum"},
        BadOfferCase{"missingFile",
                     "success=\"true\" path=\"{dir}/nothere.sh\" name=\"nothere.sh\"", false, 1,
                     "The download failed"},
        BadOfferCase{"unusableName", "success=\"true\" path=\"{dir}/install.sh\" name=\"..\"",
                     false, 1, "unusable file name"},
        BadOfferCase{"incompleteReplyChangesNothing", "success=\"true\" path=\"{dir}/install.sh\"",
                     false, 1, "Do you want to continue"},
        BadOfferCase{"hostileNameStaysInside",
                     "success=\"true\" path=\"{dir}/install.sh\" name=\"../evil.sh\" "
                     "sha256=\"{sha}\"",
                     false, 3, "Upgrade file download completed"}),
    [](const ::testing::TestParamInfo<BadOfferCase> &info) { return info.param.name; });

TEST_F(PatchwynDialog, downloadTargetThatCannotBeCreatedKeepsTheOffer)
{
    offer("1.0.0.2");
    put(m_temp.path(), "notAFolder", "x");
    auto d = dialog();
    d->setDownloadFolder(m_temp.filePath(QStringLiteral("notAFolder")));
    d->actionButton()->click();
    EXPECT_EQ(d->state(), 1);
    EXPECT_TRUE(d->infoLabel()->text().startsWith(QStringLiteral("The download failed")))
        << d->infoLabel()->text().toStdString();
    EXPECT_TRUE(d->actionButton()->isEnabled());
}

TEST_F(PatchwynDialog, closingWhileDownloadingAsksAndCancelStays)
{
    offer("1.0.0.2");
    put(m_root.path(), folder() + "install.sh", QByteArray(512 * 1024, '#'));
    m_service->setThrottle(1024, 20);
    auto d = dialog();
    d->actionButton()->click();
    ASSERT_EQ(d->state(), 2);
    m_answerOk = false;
    d->secondButton()->click();
    ASSERT_EQ(m_questions.size(), 1);
    EXPECT_EQ(m_questions[0].toStdString(),
              "Tip|Update has not been completed, to determine the exit?");
    EXPECT_EQ(d->state(), 2);
    EXPECT_TRUE(d->isVisible());
    m_answerOk = true;
    d->secondButton()->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(QFile::exists(m_temp.filePath(QStringLiteral("install.sh"))));
}

TEST_F(PatchwynDialog, installWithCancelInTheRunningQuestionKillsNothing)
{
    offer("1.0.0.2");
    startDummy();
    auto d = dialog();
    download(*d);
    ASSERT_EQ(d->state(), 3);
    m_answerOk = false;
    d->actionButton()->click();
    ASSERT_EQ(m_questions.size(), 1);
    EXPECT_EQ(m_questions[0].toStdString(),
              QStringLiteral("Tip|%1is running, do you want to force the program to be closed to "
                             "complete the upgrade?")
                  .arg(m_name)
                  .toStdString());
    EXPECT_EQ(d->state(), 3);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(m_dummy->state(), QProcess::Running);
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(m_marker));
}

TEST_F(PatchwynDialog, installEndsTheRunningProgramAndStartsTheInstaller)
{
    offer("1.0.0.2");
    startDummy();
    auto d = dialog();
    download(*d);
    ASSERT_EQ(d->state(), 3);
    d->actionButton()->click();
    EXPECT_EQ(m_questions.size(), 1);
    EXPECT_TRUE(m_dummy->waitForFinished(5000));
    EXPECT_TRUE(ProcessControl::findRunning(m_name).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_marker), 5000);
    EXPECT_FALSE(d->isVisible());
}

TEST_F(PatchwynDialog, installWithoutARunningProgramAsksNothing)
{
    offer("1.0.0.2");
    auto d = dialog();
    download(*d);
    d->actionButton()->click();
    EXPECT_TRUE(m_questions.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_marker), 5000);
}

TEST_F(PatchwynDialog, installerThatCannotStartIsReported)
{
    offer("1.0.0.2");
    auto d = dialog();
    download(*d);
    ASSERT_TRUE(QFile::remove(d->downloadedFile()));
    d->actionButton()->click();
    ASSERT_EQ(m_questions.size(), 1);
    EXPECT_TRUE(m_questions[0].contains(QStringLiteral(" install failed!error number:2,path:")))
        << m_questions[0].toStdString();
    EXPECT_EQ(d->state(), 3);
}

TEST_F(PatchwynDialog, chineseTexts)
{
    offer("1.0.0.1");
    Patchwyn d;
    d.setup(m_name, QStringLiteral("1.0.0.1"), url(), QStringLiteral("zh"));
    EXPECT_EQ(d.infoLabel()->text(), QStringLiteral("没有可用的升级"));
    EXPECT_EQ(d.secondButton()->text(), QStringLiteral("确定"));
}

} // namespace

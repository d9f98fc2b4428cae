#include "update/DlpRPiUpdater.h"
#include "update/UpdateService.h"
#include "update/standin/UpdateServiceStandIn.h"
#include "update/ui/DlpUpgradeW.h"
#include "update/ui/SdUpdateInformation.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace
{

QString isolatedSettings()
{
    static QTemporaryDir *dir = [] {
        auto *d = new QTemporaryDir;
        QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorUpdateDialogTests"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->path());
        return d;
    }();
    return dir->path();
}

void put(const QString &root, const QString &relative, const QByteArray &bytes)
{
    const QString path = QDir(root).filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct StartedUpdater {
    int count = 0;
    QString program;
    QStringList args;
};

class UpdateDialogs : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        isolatedSettings();
        QSettings().remove(QStringLiteral("enableCheckNewVersion"));
        qunsetenv("RESINOR_UPDATE_URL");
        UpdateService::setCommandLineAddress(QStringLiteral("http://127.0.0.1:9/"));
        UpdateService::setStarter([this](const QString &program, const QStringList &args) {
            ++m_started.count;
            m_started.program = program;
            m_started.args = args;
            return true;
        });
    }
    void TearDown() override
    {
        UpdateService::setStarter({});
        UpdateService::setCommandLineAddress(QString());
    }

    StartedUpdater m_started;
};

TEST_F(UpdateDialogs, automaticCheckBoxFollowsAndStoresTheSetting)
{
    SdUpdateInformation dialog(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                               QStringLiteral("en"));
    dialog.refresh();
    EXPECT_TRUE(dialog.autoCheckBox()->isChecked()); // default on
    dialog.autoCheckBox()->click();
    EXPECT_FALSE(QSettings().value(QStringLiteral("enableCheckNewVersion"), true).toBool());
    SdUpdateInformation again(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                              QStringLiteral("en"));
    again.refresh();
    EXPECT_FALSE(again.autoCheckBox()->isChecked());
    EXPECT_TRUE(again.versionLabel()->text().endsWith(QStringLiteral(" 1.0.0.1")));
}

TEST_F(UpdateDialogs, updateButtonStartsTheUpdaterWithoutMode)
{
    SdUpdateInformation dialog(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                               QStringLiteral("zh"));
    dialog.refresh();
    dialog.updateButton()->click();
    ASSERT_EQ(m_started.count, 1);
    EXPECT_TRUE(m_started.program.endsWith(QStringLiteral("/Patchwyn")));
    EXPECT_EQ(m_started.args, QStringList({"--name", "Resinor", "--version", "1.0.0.1", "--url",
                                           "http://127.0.0.1:9/update/", "--language", "zh"}));
}

TEST_F(UpdateDialogs, changeLogOpensThePageInTheBrowser)
{
    SdUpdateInformation dialog(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                               QStringLiteral("en"));
    QStringList opened;
    dialog.setUrlOpener([&](const QString &url) {
        opened << url;
        return true;
    });
    dialog.changeLogButton()->click();
    EXPECT_EQ(opened, QStringList{"http://127.0.0.1:9/changelog?name=Resinor"});
}

TEST_F(UpdateDialogs, withoutAServiceTheDialogSaysSoAndStartsNothing)
{
    UpdateService::setCommandLineAddress(QString());
    QSettings().remove(QStringLiteral("update/serviceUrl"));
    SdUpdateInformation dialog(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                               QStringLiteral("en"));
    QStringList opened;
    dialog.setUrlOpener([&](const QString &url) {
        opened << url;
        return true;
    });
    dialog.refresh();
    EXPECT_FALSE(dialog.statusLabel()->text().isEmpty());
    dialog.updateButton()->click();
    dialog.changeLogButton()->click();
    EXPECT_EQ(m_started.count, 0);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(UpdateDialogs, aboutViewHoldsTheTranslatedTexts)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/language/lang_en.qm")));
    QCoreApplication::installTranslator(&translator);
    SdUpdateInformation dialog(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                               QStringLiteral("en"));
    dialog.refresh();
    const QString about = dialog.aboutView()->toPlainText();
    EXPECT_TRUE(about.contains(QStringLiteral("Orvane")));
    EXPECT_FALSE(about.contains(QStringLiteral("3dService")));
    EXPECT_EQ(dialog.changeLogButton()->text(), QStringLiteral("Look change logs"));
    EXPECT_EQ(dialog.autoCheckBox()->text().toStdString(),
              "Check for new versions automatically at start");
    QCoreApplication::removeTranslator(&translator);
}

TEST_F(UpdateDialogs, automaticCheckStartsTheUpdaterOnceInCmdMode)
{
    QObject owner;
    UpdateService::scheduleAutomaticCheck(&owner, QStringLiteral("Resinor"),
                                          QStringLiteral("1.0.0.1"), QStringLiteral("en"));
    QTest::qWait(1000);
    EXPECT_EQ(m_started.count, 0); // not before the 3 s
    QTRY_COMPARE_WITH_TIMEOUT(m_started.count, 1, 5000);
    EXPECT_EQ(m_started.args.mid(8), QStringList({"--mode", "cmd"}));
    QTest::qWait(3500);
    EXPECT_EQ(m_started.count, 1);
}

// The upgrade dialog against the stand-in service.
class UpgradeDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        isolatedSettings();
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(m_downloads.isValid());
        m_service = std::make_unique<UpdateServiceStandIn>(m_root.path());
        ASSERT_TRUE(m_service->listen(0));
    }

    std::unique_ptr<DlpRPiUpdater> updater(bool answerYes)
    {
        auto u = std::make_unique<DlpRPiUpdater>(QStringLiteral("2.0.0.0"));
        u->setEndpoint(m_service->baseUrl() + "/orvane3DsoftwareDLP/");
        u->query()->setDownloadFolder(m_downloads.path());
        u->setQuestion([this, answerYes](const QString &, const QString &text) {
            m_asked << text;
            return answerYes;
        });
        return u;
    }

    QTemporaryDir m_root;
    QTemporaryDir m_downloads;
    std::unique_ptr<UpdateServiceStandIn> m_service;
    QStringList m_asked;
};

TEST_F(UpgradeDialog, failedCheckIsShownInTheLabel)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/language/lang_en.qm")));
    QCoreApplication::installTranslator(&translator);
    auto u = updater(true);
    DlpUpgradeW dialog;
    dialog.setUpdater(u.get());
    dialog.show();
    dialog.upgradeButton()->click();
    EXPECT_EQ(dialog.infoLabel()->text().toStdString(),
              "Error:The update service does not offer this update.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(m_asked.isEmpty());
    QCoreApplication::removeTranslator(&translator);
}

TEST_F(UpgradeDialog, cancelDuringTheDownloadAbortsAndCloses)
{
    put(m_root.path(), "files/rpi.tar.gz", QByteArray(2 * 1024 * 1024, 'p'));
    put(m_root.path(), "act/RasspberryPiA_latestversion.txt",
        "version=2.0.0.1,url={base}/files/rpi.tar.gz");
    m_service->setThrottle(8 * 1024, 10);
    auto u = updater(true);
    QSignalSpy upload(u.get(), &DlpRPiUpdater::sUpload);
    DlpUpgradeW dialog;
    dialog.setUpdater(u.get());
    dialog.show();
    bool cancelled = false;
    QObject::connect(u.get(), &HttpUpgrade::sProgress, &dialog,
                     [&](const QString &, qlonglong received, qlonglong) {
                         if (!cancelled && received > 0) {
                             cancelled = true;
                             EXPECT_GT(dialog.progressBar()->maximum(), 0);
                             dialog.cancelButton()->click();
                         }
                     });
    dialog.upgradeButton()->click();
    EXPECT_TRUE(cancelled);
    ASSERT_EQ(m_asked.size(), 1);
    EXPECT_TRUE(m_asked[0].startsWith(QStringLiteral("tip:")));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_EQ(upload.count(), 0);
    EXPECT_TRUE(QDir(m_downloads.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(UpgradeDialog, failedDownloadStaysReadable)
{
    put(m_root.path(), "act/RasspberryPiA_latestversion.txt",
        "version=2.0.0.1,url={base}/files/missing.tar.gz");
    auto u = updater(true);
    DlpUpgradeW dialog;
    dialog.setUpdater(u.get());
    dialog.show();
    dialog.upgradeButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.infoLabel()->text().contains(QStringLiteral("Not Found")))
        << dialog.infoLabel()->text().toStdString();
}

TEST_F(UpgradeDialog, finishedDownloadClosesTheDialogAndHandsThePackageOn)
{
    put(m_root.path(), "files/rpi.tar.gz", "package");
    put(m_root.path(), "act/RasspberryPiA_latestversion.txt",
        "version=2.0.0.1,url={base}/files/rpi.tar.gz");
    auto u = updater(true);
    QSignalSpy upload(u.get(), &DlpRPiUpdater::sUpload);
    DlpUpgradeW dialog;
    dialog.setUpdater(u.get());
    dialog.show();
    dialog.upgradeButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(upload.count(), 1);
    EXPECT_EQ(upload[0][0].toString(), QDir(m_downloads.path()).filePath("rpi.tar.gz"));
}

} // namespace

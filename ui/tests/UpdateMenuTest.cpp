#include "UiTestSupport.h"

#include "app/DlpOrvaneApp.h"
#include "io/DModelIoManager.h"
#include "testsupport/TestFiles.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "update/HttpUpgrade.h"
#include "update/UpdateService.h"
#include "update/standin/UpdateServiceStandIn.h"
#include "update/ui/DlpUpgradeW.h"
#include "update/ui/SdUpdateInformation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

// Help > About software opens the about/update dialog of the running window.

namespace
{

TEST(HelpMenu, aboutSoftwareOpensTheUpdateDialogWhoseButtonStartsTheUpdater)
{
    const QString userFolder = uitest::isolatedUserFolder();
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    QSettings().setValue(QStringLiteral("softLang"), QStringLiteral("en"));
    UpdateService::setCommandLineAddress(QStringLiteral("http://127.0.0.1:9"));
    QStringList started;
    UpdateService::setStarter([&](const QString &, const QStringList &args) {
        started = args;
        return true;
    });
    auto window = std::make_unique<CDlpMainWindow>(QStringList(), nullptr, userFolder,
                                                   uitest::programFolder());
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    bool seen = false;
    bool boxChecked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<SdUpdateInformation *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        boxChecked = dialog->autoCheckBox()->isChecked();
        dialog->updateButton()->click();
        dialog->onClose();
    });
    poll.start(20);
    window->dlpMenuBar()->action(QStringLiteral("aboutSoft"))->trigger();
    poll.stop();
    UpdateService::setStarter({});
    UpdateService::setCommandLineAddress(QString());

    EXPECT_TRUE(seen);
    EXPECT_TRUE(boxChecked);
    EXPECT_EQ(started, QStringList({"--name", "Resinor", "--version", "1.0.0.1", "--url",
                                    "http://127.0.0.1:9/update/", "--language", "en"}));
}

// The in-program update downloads the installer, then asks the window's usual save question
// before anything ends: Cancel keeps the program and its scene and starts no installer; No
// closes the window and starts the installer.
struct SaveAnswer {
    const char *name;
    bool cancel;
};

class UpgradeSoftware : public ::testing::TestWithParam<SaveAnswer>
{
};

TEST_P(UpgradeSoftware, asksTheSaveQuestionBeforeTheInstallerStarts)
{
    const bool cancel = GetParam().cancel;
    const QString userFolder = uitest::isolatedUserFolder();
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    QTemporaryDir root;
    QTemporaryDir downloads;
    QTemporaryDir files;
    ASSERT_TRUE(root.isValid() && downloads.isValid() && files.isValid());
    const QString marker = downloads.filePath(QStringLiteral("installed.marker"));
    QDir().mkpath(root.filePath(QStringLiteral("act")));
    QDir().mkpath(root.filePath(QStringLiteral("files")));
    testsupport::writeFile(root.filePath(QStringLiteral("act/windows_latestversion.txt")),
                           "act=windows_latestversion,version=9.0.0.0,url={base}/files/setup.sh");
    testsupport::writeFile(root.filePath(QStringLiteral("files/setup.sh")),
                           "#!/bin/sh\necho installed > '" + marker.toUtf8() + "'\n");
    UpdateServiceStandIn service(root.path());
    ASSERT_TRUE(service.listen(0));
    UpdateService::setCommandLineAddress(service.baseUrl());

    const QString part = files.filePath(QStringLiteral("box.stl"));
    testsupport::writeFile(part,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
    auto window = std::make_unique<CDlpMainWindow>(QStringList{part}, nullptr, userFolder,
                                                   uitest::programFolder());
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    for (int i = 0; i < 200 && (window->app()->scene().models().empty() ||
                                window->app()->getImportManager()->isLoading());
         ++i)
        QTest::qWait(50);
    ASSERT_FALSE(window->app()->scene().models().empty());

    QStringList seen;
    QString info;
    bool clicked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (!box->isVisible())
                return;
            seen << box->objectName() + QLatin1Char('|') + box->text();
            if (box->objectName() == QLatin1String("saveQuestion")) {
                for (QAbstractButton *button : box->buttons()) {
                    const QMessageBox::ButtonRole role = box->buttonRole(button);
                    if (role == (cancel ? QMessageBox::RejectRole : QMessageBox::NoRole)) {
                        button->click();
                        break;
                    }
                }
            } else if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                yes->click();
            return;
        }
        auto *dialog = qobject_cast<DlpUpgradeW *>(modal);
        if (!dialog)
            return;
        if (!clicked) {
            clicked = true;
            dialog->updater()->query()->setDownloadFolder(downloads.path());
            QTimer::singleShot(0, dialog->upgradeButton(), &QPushButton::click);
        } else if (!cancel ||
                   dialog->infoLabel()->text().contains(QStringLiteral("installer was kept"))) {
            info = dialog->infoLabel()->text();
            dialog->close();
        }
    });
    poll.start(20);
    window->mainWindow()->onUpgradeSoftware();
    poll.stop();
    UpdateService::setCommandLineAddress(QString());

    ASSERT_EQ(seen.size(), 2) << seen.join('\n').toStdString();
    EXPECT_TRUE(seen[0].contains(QStringLiteral("New Version:9.0.0.0"))) << seen[0].toStdString();
    EXPECT_TRUE(seen[1].startsWith(QStringLiteral("saveQuestion|"))) << seen[1].toStdString();
    if (cancel) {
        EXPECT_TRUE(info.contains(downloads.filePath(QStringLiteral("setup.sh"))))
            << info.toStdString();
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->app()->scene().models().empty());
        QTest::qWait(300);
        EXPECT_FALSE(QFile::exists(marker));
    } else {
        EXPECT_FALSE(window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    }
}

INSTANTIATE_TEST_SUITE_P(DlpPCUpdater, UpgradeSoftware,
                         ::testing::Values(SaveAnswer{"cancelKeepsTheProgram", true},
                                           SaveAnswer{"noStartsTheInstaller", false}),
                         [](const ::testing::TestParamInfo<SaveAnswer> &info) {
                             return info.param.name;
                         });

} // namespace

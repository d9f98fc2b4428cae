#include "UiTestSupport.h"

#include "ui/CDlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "update/UpdateService.h"
#include "update/ui/SdUpdateInformation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
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

} // namespace

// The maintenance dialog driven as a user drives it, against the shipped printer simulator
// (details, firmware) and the sandboxed test sshd (SSH operations) on one loopback address.
#include "maintenance/HostKeyStore.h"
#include "maintenance/SshConnection.h"
#include "maintenance/dsshsession.h"
#include "maintenance/ui/DeviceDetailsOpener.h"
#include "maintenance/ui/DlpDeviceDetails.h"
#include "maintenance/ui/DlpHardwareUpgrade.h"
#include "maintenance/ui/DlpRPISoftwareUpgrade.h"
#include "network/FirmwareUpgrade.h"
#include "network/NetworkApp.h"
#include "network/tests/SimPrinter.h"
#include "network/ui/DlpDeviceManager.h"
#include "testsupport/TestFiles.h"
#include "testsupport/sshserver/SshTestServer.h"
#include "update/ui/DlpUpgradeW.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using simtest::SimPrinter;
using simtest::waitUntil;

namespace
{

// These tests open many windows (dialogs, message boxes, file dialogs); on the X display that
// the test programs share they would pass under the one pointer and take the hover from the
// programs beside them. They run on Qt's offscreen platform instead, set before the test
// program's main creates the application object.
const bool s_offscreen = [] {
    if (qEnvironmentVariableIsEmpty("RESINOR_MAINTENANCE_TESTS_ON_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// Answers the next modal window of type W (a message box, a file dialog) once it is up.
// The answer runs from a timer while the code under test waits in that window's exec(): only
// from a deeper event loop than the one the answer was made in, because a window may process
// events while it is being shown, before its own loop runs, and closing it then would leave
// that loop running with nothing to end it.
template <typename W> class ModalAnswer
{
  public:
    // every: answer each such window that comes up, not only the first.
    explicit ModalAnswer(std::function<void(W *)> answer, bool every = false)
        : m_answer(std::move(answer)), m_level(QThread::currentThread()->loopLevel()),
          m_every(every)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QThread::currentThread()->loopLevel() <= m_level)
                return;
            if (auto *w = qobject_cast<W *>(QApplication::activeModalWidget())) {
                if (!m_every)
                    m_timer.stop();
                m_seen = true;
                m_title = w->windowTitle();
                if constexpr (std::is_same_v<W, QMessageBox>) {
                    m_text = w->text();
                    m_texts << m_text;
                }
                m_answer(w);
            }
        });
        m_timer.start();
    }
    bool seen() const { return m_seen; }
    QString title() const { return m_title; }
    QString text() const { return m_text; }
    QStringList texts() const { return m_texts; }

  private:
    std::function<void(W *)> m_answer;
    int m_level;
    bool m_every;
    QStringList m_texts;
    QTimer m_timer;
    bool m_seen = false;
    QString m_title;
    QString m_text;
};

void clickButton(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *b : box->buttons())
        if (b->text() == text) {
            b->click();
            return;
        }
    ADD_FAILURE() << "no button " << text.toStdString() << " in " << box->text().toStdString();
    box->reject();
}

// Types path into the file dialog's name field and presses Return, as a user does.
void chooseFile(QFileDialog *dialog, const QString &path)
{
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!name) {
        ADD_FAILURE() << "the file dialog has no name field";
        dialog->reject();
        return;
    }
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
}

// Puts a window in the top left corner. The test programs share one X display and its pointer,
// which rests in the middle of the screen: a window appearing under it would take the hover
// from another program's window.
void awayFromThePointer(QWidget *window)
{
    window->move(0, 0);
}

NetworkOptions loopbackOptions(const QString &target)
{
    NetworkOptions options;
    options.discoveryTarget = QHostAddress(target);
    options.discoveryBindPort = 0;
    return options;
}

QTranslator *s_translator = nullptr;

bool useLanguage(const QString &code)
{
    if (s_translator) {
        QCoreApplication::removeTranslator(s_translator);
        delete s_translator;
    }
    s_translator = new QTranslator;
    if (!s_translator->load(QStringLiteral(":/language/lang_%1.qm").arg(code)))
        return false;
    return QCoreApplication::installTranslator(s_translator);
}

class MaintenanceDialogTest : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        s_address = simtest::loopbackAddress(40);
        s_server = std::make_unique<testsupport::SshTestServer>();
        s_server->setListenAddress(s_address);
        if (testsupport::SshTestServer::unavailableReason().isEmpty() && !s_server->start(&s_error))
            s_server.reset();
        s_sim = std::make_unique<SimPrinter>(s_address);
    }
    static void TearDownTestSuite()
    {
        s_sim.reset();
        s_server.reset();
    }

    void SetUp() override
    {
        const QString missing = testsupport::SshTestServer::unavailableReason();
        if (!missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        ASSERT_TRUE(s_server) << s_error.toStdString();
        ASSERT_TRUE(s_sim->isReady())
            << "printer simulator: " << simtest::simProgram().toStdString();
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(useLanguage(QStringLiteral("en")));
        QCoreApplication::setOrganizationName(QStringLiteral("OrvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorMaintenanceDialogTest"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           m_scratch.filePath(QStringLiteral("settings")));
        QSettings settings;
        settings.clear();
        settings.setValue(QStringLiteral("ssh/port"), s_server->port());
        settings.setValue(QStringLiteral("ssh/hostKeyFile"), hostKeyFile());
        settings.sync();
        s_server->resetHome();

        m_net = std::make_unique<NetworkApp>(nullptr, loopbackOptions(s_address));
        m_net->linkDevice(s_address);
        ASSERT_TRUE(waitUntil(
            [&] {
                NetClientCmd *c = m_net->device(s_address);
                return c && c->properties().size() > 5;
            },
            20000));
        m_client = m_net->device(s_address);
        m_commandsBefore = s_server->commands().size();
    }

    void TearDown() override
    {
        m_dialog.reset();
        m_net.reset();
    }

    QString hostKeyFile() const { return m_scratch.filePath(QStringLiteral("known_hosts")); }
    QStringList newCommands() const { return s_server->commands().mid(m_commandsBefore); }

    // Opens the dialog for the simulated printer as the management window's double click does,
    // but shown instead of run modally so that the test can click in it.
    DlpDeviceDetails *openDialog()
    {
        m_dialog = std::make_unique<DlpDeviceDetails>();
        awayFromThePointer(m_dialog.get());
        m_dialog->prepare(m_client);
        m_dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
        return m_dialog.get();
    }

    QPushButton *button(const char *name) const
    {
        auto *b = m_dialog->findChild<QPushButton *>(QLatin1String(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    void click(const char *name)
    {
        m_dialog->findChild<QTabWidget *>()->setCurrentIndex(1);
        QTest::mouseClick(button(name), Qt::LeftButton);
    }

    static std::unique_ptr<testsupport::SshTestServer> s_server;
    static std::unique_ptr<SimPrinter> s_sim;
    static QString s_address;
    static QString s_error;
    QTemporaryDir m_scratch;
    std::unique_ptr<NetworkApp> m_net;
    NetClientCmd *m_client = nullptr;
    std::unique_ptr<DlpDeviceDetails> m_dialog;
    int m_commandsBefore = 0;
};

std::unique_ptr<testsupport::SshTestServer> MaintenanceDialogTest::s_server;
std::unique_ptr<SimPrinter> MaintenanceDialogTest::s_sim;
QString MaintenanceDialogTest::s_address;
QString MaintenanceDialogTest::s_error;

} // namespace

TEST_F(MaintenanceDialogTest, DetailsTabShowsTheBoardsAndAScreenshotIsWritten)
{
    DlpDeviceDetails *dialog = openDialog();
    EXPECT_EQ(dialog->windowTitle(),
              QStringLiteral("Device:%1:%2").arg(m_client->get(QStringLiteral("ID")), s_address));
    EXPECT_EQ(dialog->statusText(), QStringLiteral("SSH environment initializing suceed."));
    ASSERT_TRUE(waitUntil([&] { return !dialog->detailsText().isEmpty(); }, 20000));
    const QString serial = s_sim->serial();
    const QString expected = QStringLiteral("A board info:\n      ID:A-%1\n      Version:0.3.1.0\n"
                                            "B board info:\n      ID:B-%1\n      Version:0.3.0.2\n"
                                            "Control board info:\n      SN:")
                                 .arg(serial);
    EXPECT_TRUE(dialog->detailsText().startsWith(expected)) << dialog->detailsText().toStdString();
    EXPECT_TRUE(dialog->detailsText().contains(
        QRegularExpression(QStringLiteral("\n      Version:\\S+\n$"))))
        << dialog->detailsText().toStdString();

    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("screenshots"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char *lang : {"en", "zh"}) {
        ASSERT_TRUE(useLanguage(QLatin1String(lang)));
        DlpDeviceDetails shot;
        awayFromThePointer(&shot);
        shot.prepare(m_client);
        shot.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shot));
        ASSERT_TRUE(waitUntil([&] { return !shot.detailsText().isEmpty(); }, 20000));
        QTest::qWait(100);
        const QString path =
            QStringLiteral("%1/maintenance_details_%2.png").arg(folder, QLatin1String(lang));
        EXPECT_TRUE(shot.grab().save(path)) << path.toStdString();
    }
    ASSERT_TRUE(useLanguage(QStringLiteral("en")));
}

TEST_F(MaintenanceDialogTest, CalibrationFileChosenInTheFileDialogArrivesUnderItsFixedName)
{
    openDialog();
    const QString local = m_scratch.filePath(QStringLiteral("calib for printer 3.ini"));
    testsupport::writeFile(local, "[calib]\na=1\n");
    ModalAnswer<QFileDialog> answer([&](QFileDialog *d) { chooseFile(d, local); });
    click("pbCalibration");
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(answer.title(), QStringLiteral("Select the light machine calibration file"));
    EXPECT_EQ(
        testsupport::readFile(s_server->home() +
                              QStringLiteral("/.Brevimund/lightCalib/LightMachineCalibration.ini")),
        QByteArray("[calib]\na=1\n"));
    EXPECT_EQ(m_dialog->statusText(), QStringLiteral("calib for printer 3.ini 12 B 100%"));
    EXPECT_EQ(newCommands().size(), 2);
    EXPECT_EQ(QSettings().value(QStringLiteral("calibrationFileDir")).toString(), local);
}

TEST_F(MaintenanceDialogTest, NoFileChosenWarnsAndSendsNothing)
{
    openDialog();
    ModalAnswer<QFileDialog> cancel([](QFileDialog *d) { d->reject(); });
    ModalAnswer<QMessageBox> warning([](QMessageBox *b) { b->accept(); });
    click("pbMaterial");
    EXPECT_TRUE(cancel.seen());
    EXPECT_TRUE(warning.seen());
    EXPECT_EQ(warning.text(), QStringLiteral("No configuration files were selected."));
    EXPECT_TRUE(newCommands().isEmpty());
}

TEST_F(MaintenanceDialogTest, ResetCalibrationAsksFirst)
{
    openDialog();
    ASSERT_TRUE(s_server->putFile(
        QStringLiteral(".Brevimund/lightCalib/LightMachineCalibration.ini"), "x"));
    {
        ModalAnswer<QMessageBox> no([](QMessageBox *b) { b->button(QMessageBox::No)->click(); });
        click("pbResetCalibration");
        EXPECT_TRUE(no.seen());
        EXPECT_EQ(no.title(), QStringLiteral("warning"));
    }
    EXPECT_TRUE(newCommands().isEmpty());
    ModalAnswer<QMessageBox> yes([](QMessageBox *b) { b->button(QMessageBox::Yes)->click(); });
    click("pbResetCalibration");
    EXPECT_TRUE(yes.seen());
    EXPECT_EQ(newCommands().size(), 1);
    EXPECT_EQ(m_dialog->statusText(),
              QStringLiteral("Light machine configuratio reset successful."));
    EXPECT_FALSE(QFile::exists(
        s_server->home() + QStringLiteral("/.Brevimund/lightCalib/LightMachineCalibration.ini")));
}

TEST_F(MaintenanceDialogTest, BrokenSystemPackageShowsTheInstallFailureAndNeverReboots)
{
    openDialog();
    const int reboots = s_server->reboots();
    const QString package = m_scratch.filePath(QStringLiteral("syscfg.zip"));
    testsupport::writeFile(package, "broken");
    ModalAnswer<QFileDialog> answer([&](QFileDialog *d) { chooseFile(d, package); });
    click("pbSystemConfig");
    EXPECT_TRUE(answer.seen());
    EXPECT_TRUE(
        m_dialog->statusText().startsWith(QLatin1String("Upgrade package installation failed")))
        << m_dialog->statusText().toStdString();
    EXPECT_EQ(s_server->reboots(), reboots);
    EXPECT_EQ(QSettings().value(QStringLiteral("sysCfgFileDir")).toString(), package);
}

TEST_F(MaintenanceDialogTest, CoreFileBundleIsSavedInTheChosenFolder)
{
    openDialog();
    ASSERT_TRUE(s_server->putFile(QStringLiteral("DlpA/OrvaneDlpPiUI"), QByteArray(10000, 'c')));
    const QString folder = m_scratch.filePath(QStringLiteral("dumps"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ModalAnswer<QFileDialog> answer([&](QFileDialog *d) { chooseFile(d, folder); });
    click("pbCoreDump");
    EXPECT_TRUE(answer.seen());
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/corefile.tar.gz")))
        << m_dialog->statusText().toStdString();
    EXPECT_EQ(QSettings().value(QStringLiteral("CoreDumpFileDir")).toString(), folder);
}

TEST_F(MaintenanceDialogTest, SearchMarksWholeWordsInRed)
{
    DlpDeviceDetails *dialog = openDialog();
    ASSERT_TRUE(waitUntil([&] { return !dialog->detailsText().isEmpty(); }, 20000));
    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("leSearch"));
    auto *view = dialog->findChild<QTextEdit *>(QStringLiteral("teDetails"));
    {
        ModalAnswer<QMessageBox> empty([](QMessageBox *b) { b->accept(); });
        QTest::mouseClick(button("pbSearch"), Qt::LeftButton);
        EXPECT_EQ(empty.title(), QStringLiteral("Empty Search Field"));
    }
    QTest::keyClicks(field, QStringLiteral("Version"));
    QTest::mouseClick(button("pbSearch"), Qt::LeftButton);
    int red = 0;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().background().color() == Qt::red) {
                EXPECT_EQ(it.fragment().text(), QStringLiteral("Version"));
                ++red;
            }
    EXPECT_EQ(red, 3);
    field->setText(QStringLiteral("Vers"));
    ModalAnswer<QMessageBox> none([](QMessageBox *b) { b->accept(); });
    QTest::mouseClick(button("pbSearch"), Qt::LeftButton);
    EXPECT_EQ(none.title(), QStringLiteral("Word Not Found"));
}

TEST_F(MaintenanceDialogTest, ChangedHostKeyIsShownAndAcceptedOnlyWhenTheUserSaysYes)
{
    QSsh::HostKeyStore(hostKeyFile())
        .store(QStringLiteral("[%1]:%2").arg(s_address).arg(s_server->port()),
               QStringLiteral("SHA256:not-the-printers-key"));
    // A connection made by an earlier test would be reused without any key check.
    if (QSsh::SshConnection *old = dsshsession::instance()->lastConnection())
        old->disconnectFromHost();
    QTest::qWait(200);
    {
        ModalAnswer<QMessageBox> refuse(
            [](QMessageBox *b) {
                if (b->text().contains(QLatin1String("Accept it?")))
                    b->button(QMessageBox::No)->click();
                else
                    b->accept();
            },
            true);
        m_dialog = std::make_unique<DlpDeviceDetails>();
        awayFromThePointer(m_dialog.get());
        m_dialog->prepare(m_client);
        ASSERT_EQ(refuse.texts().size(), 2);
        EXPECT_TRUE(refuse.texts().at(0).contains(QLatin1String("SHA256:not-the-printers-key")))
            << refuse.texts().at(0).toStdString();
        EXPECT_TRUE(refuse.texts().at(0).contains(s_address));
        EXPECT_TRUE(refuse.texts().at(1).contains(QLatin1String("has changed")))
            << refuse.texts().at(1).toStdString();
        EXPECT_EQ(m_dialog->statusText(), QStringLiteral("SSH environment initializing failed."));
    }
    ModalAnswer<QMessageBox> accept(
        [](QMessageBox *b) {
            if (QAbstractButton *yes = b->button(QMessageBox::Yes))
                yes->click();
            else
                b->accept();
        },
        true);
    m_dialog = std::make_unique<DlpDeviceDetails>();
    awayFromThePointer(m_dialog.get());
    m_dialog->prepare(m_client);
    ASSERT_EQ(accept.texts().size(), 1) << accept.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(accept.texts().at(0).contains(QLatin1String("Accept it?")));
    EXPECT_EQ(m_dialog->statusText(), QStringLiteral("SSH environment initializing suceed."));
    EXPECT_NE(QSsh::HostKeyStore(hostKeyFile())
                  .fingerprint(QStringLiteral("[%1]:%2").arg(s_address).arg(s_server->port())),
              QStringLiteral("SHA256:not-the-printers-key"));
}

TEST_F(MaintenanceDialogTest, WithoutSshEveryOperationSaysSo)
{
    QSettings().setValue(QStringLiteral("ssh/port"), 1); // nothing listens there
    ModalAnswer<QMessageBox> failed([](QMessageBox *b) { b->accept(); });
    openDialog();
    EXPECT_TRUE(failed.seen());
    EXPECT_TRUE(failed.text().startsWith(QLatin1String("SSH environment initializing failed..")))
        << failed.text().toStdString();
    for (const char *name : {"pbCalibration", "pbLightPower", "pbMaterial", "pbResetCalibration",
                             "pbSystemConfig", "pbCoreDump"}) {
        ModalAnswer<QMessageBox> tip([](QMessageBox *b) { b->accept(); });
        click(name);
        EXPECT_EQ(tip.text(),
                  QStringLiteral("The SSH environment was not successfully established."))
            << name;
    }
}

TEST_F(MaintenanceDialogTest, LocalSoftwarePackageIsSentAsAnUpgrade)
{
    openDialog();
    QObject::connect(m_dialog.get(), &DlpDeviceDetails::sUpload, m_net.get(),
                     [this](const QString &file) { m_net->sendUpgradePackage(file); });
    const QString package = m_scratch.filePath(QStringLiteral("controller-0.4.0.upgrade"));
    testsupport::writeFile(package, QByteArray(5000, 'u'));
    bool sawNoPackage = false;
    ModalAnswer<DlpRPISoftwareUpgrade> drive([&](DlpRPISoftwareUpgrade *upgrade) {
        // Upgrade before a package is chosen: a warning.
        {
            ModalAnswer<QMessageBox> none([&](QMessageBox *b) {
                sawNoPackage = b->text() == QLatin1String("No upgrade packages were selected");
                b->accept();
            });
            QTest::mouseClick(upgrade->findChild<QPushButton *>(QStringLiteral("pbUpgrade")),
                              Qt::LeftButton);
        }
        ModalAnswer<QFileDialog> choose([&](QFileDialog *d) { chooseFile(d, package); });
        QTest::mouseClick(upgrade->findChild<QPushButton *>(QStringLiteral("pbLoading")),
                          Qt::LeftButton);
        QTest::mouseClick(upgrade->findChild<QPushButton *>(QStringLiteral("pbUpgrade")),
                          Qt::LeftButton);
        upgrade->accept();
    });
    QSignalSpy uploads(m_dialog.get(), &DlpDeviceDetails::sUpload);
    click("pbUpgradeSoftware");
    EXPECT_TRUE(drive.seen());
    EXPECT_TRUE(sawNoPackage);
    ASSERT_EQ(uploads.size(), 1);
    EXPECT_EQ(uploads.at(0).at(0).toString(), package);
    EXPECT_EQ(m_client->get(QStringLiteral("isManagerSelected")), QStringLiteral("1"));
    EXPECT_FALSE(
        s_sim
            ->waitForLine(QStringLiteral("^announced controller-0.4.0.upgrade 5000 .* upgrade$"),
                          20000)
            .isEmpty());
    EXPECT_FALSE(
        s_sim->waitForLine(QStringLiteral("^received controller-0.4.0.upgrade 5000"), 20000)
            .isEmpty());
}

TEST_F(MaintenanceDialogTest, PrintingPrinterAsksBeforeAnUpgrade)
{
    openDialog();
    m_client->set(QStringLiteral("DS"), QStringLiteral("Runing"));
    ModalAnswer<QMessageBox> cancel(
        [](QMessageBox *b) { clickButton(b, QStringLiteral("cancel")); });
    click("pbUpgradeSoftware");
    EXPECT_TRUE(cancel.seen());
    EXPECT_EQ(cancel.text(), QStringLiteral("The printer is printing. Updating will cause printing "
                                            "fail.Please confirm whether to update."));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Lower case is not the state this dialog warns about.
    m_client->set(QStringLiteral("DS"), QStringLiteral("runing"));
    ModalAnswer<DlpRPISoftwareUpgrade> opened([](DlpRPISoftwareUpgrade *d) { d->reject(); });
    click("pbUpgradeSoftware");
    EXPECT_TRUE(opened.seen());
}

struct FirmwareCase {
    const char *name;
    const char *board;
    const char *message;
};

class FirmwareWindowTest : public MaintenanceDialogTest,
                           public ::testing::WithParamInterface<FirmwareCase>
{
};

TEST_P(FirmwareWindowTest, EndsWithTheBoardsVerdict)
{
    // A simulator of its own, with the control board behaving as the row says.
    SimPrinter sim(simtest::loopbackAddress(41),
                   {QStringLiteral("--board"), QString::fromLatin1(GetParam().board)});
    ASSERT_TRUE(sim.isReady());
    m_net->linkDevice(sim.address());
    ASSERT_TRUE(waitUntil(
        [&] {
            NetClientCmd *c = m_net->device(sim.address());
            return c && c->properties().size() > 5;
        },
        20000));
    m_client = m_net->device(sim.address());
    QSettings().setValue(QStringLiteral("ssh/port"), 1);
    ModalAnswer<QMessageBox> noSsh([](QMessageBox *b) { b->accept(); });
    openDialog();

    click("pbUpgradeHardware");
    auto *window = m_dialog->findChild<DlpHardwareUpgrade *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    FirmwareUpgrade::Timings fast;
    fast.eraseMs = 3000;
    fast.prepareMs = 3000;
    fast.prepareRetryDelayMs = 20;
    fast.queryIntervalMs = 100;
    window->upgrade()->setTimings(fast);

    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pbUpgrade")),
                      Qt::LeftButton);
    EXPECT_EQ(window->messageText(), QStringLiteral("No hardware file for upgrade"));

    const QString firmware = m_scratch.filePath(QStringLiteral("board-2.1.bin"));
    testsupport::writeFile(firmware, QByteArray(3000, '\x5a'));
    ModalAnswer<QFileDialog> choose([&](QFileDialog *d) { chooseFile(d, firmware); });
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pbLoading")),
                      Qt::LeftButton);
    EXPECT_EQ(window->chosenFile(), firmware);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pbUpgrade")),
                      Qt::LeftButton);
    EXPECT_TRUE(waitUntil(
        [&] { return window->messageText().startsWith(QLatin1String(GetParam().message)); }, 20000))
        << window->messageText().toStdString();
    EXPECT_EQ(QSettings().value(QStringLiteral("hardware/openDir")).toString(), m_scratch.path());
}

INSTANTIATE_TEST_SUITE_P(Boards, FirmwareWindowTest,
                         ::testing::Values(FirmwareCase{"Succeeds", "ok", "Upgrade succeed"},
                                           FirmwareCase{"BoardReportsFailure", "fail",
                                                        "Upgrade failed"},
                                           FirmwareCase{"BoardSilent", "silent", "Upgrade failed"}),
                         [](const ::testing::TestParamInfo<FirmwareCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(MaintenanceDialogTest, FirmwareDownloadButtonSaysWhyItOffersNothing)
{
    QSettings().setValue(QStringLiteral("ssh/port"), 1);
    ModalAnswer<QMessageBox> noSsh([](QMessageBox *b) { b->accept(); });
    openDialog();
    click("pbUpgradeHardware");
    auto *window = m_dialog->findChild<DlpHardwareUpgrade *>();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pbDownload")),
                      Qt::LeftButton);
    EXPECT_TRUE(window->messageText().contains(QLatin1String("not offered for download")));
}

TEST_F(MaintenanceDialogTest, DoubleClickInTheManagementWindowOpensTheDialog)
{
    registerDeviceDetailsDialog();
    DlpDeviceManager manager;
    awayFromThePointer(&manager);
    manager.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager));
    ASSERT_TRUE(waitUntil(
        [&] {
            manager.onUpdateDeviceTree(m_net->devices());
            return manager.model()->rowCount() == 1 && manager.model()->item(0)->rowCount() == 1;
        },
        20000));
    QSignalSpy relayed(&manager, &DlpDeviceManager::sUpload);
    QString title;
    ModalAnswer<DlpDeviceDetails> opened([&](DlpDeviceDetails *d) {
        title = d->windowTitle();
        emit d->sUpload(QStringLiteral("/tmp/package.upgrade"));
        d->reject();
    });
    const QModelIndex row = manager.model()->item(0)->child(0, 1)->index();
    manager.onDoubleClicked(row);
    EXPECT_TRUE(opened.seen());
    EXPECT_EQ(title,
              QStringLiteral("Device:%1:%2").arg(m_client->get(QStringLiteral("ID")), s_address));
    ASSERT_EQ(relayed.size(), 1);
    EXPECT_EQ(relayed.at(0).at(0).toString(), QStringLiteral("/tmp/package.upgrade"));
    DlpDeviceManager::setDetailsOpener({});
}

TEST_F(MaintenanceDialogTest, SoftwareFromTheNetworkOpensTheUpgradeWindowForTheBoardVersion)
{
    openDialog();
    bool upgradeWindow = false;
    ModalAnswer<DlpRPISoftwareUpgrade> drive([&](DlpRPISoftwareUpgrade *upgrade) {
        ModalAnswer<DlpUpgradeW> window([&](DlpUpgradeW *w) {
            upgradeWindow = w->updater() != nullptr;
            w->reject();
        });
        QTest::mouseClick(upgrade->findChild<QPushButton *>(QStringLiteral("pbDownload")),
                          Qt::LeftButton);
        EXPECT_TRUE(window.seen());
        upgrade->reject();
    });
    click("pbUpgradeSoftware");
    EXPECT_TRUE(drive.seen());
    EXPECT_TRUE(upgradeWindow);
    EXPECT_EQ(m_client->get(QStringLiteral("isManagerSelected")), QStringLiteral("1"));
}

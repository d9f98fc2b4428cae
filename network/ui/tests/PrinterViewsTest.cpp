// The printer views driven in the real main window against simulators on loopback addresses.
#include "../../../ui/tests/UiTestSupport.h"
#include "../../tests/SimPrinter.h"

#include "app/DlpConfigAccuracyForm.h"
#include "network/DiscoveryTarget.h"
#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"
#include "network/ui/DlpDeviceInfoUI.h"
#include "network/ui/DlpDeviceManager.h"
#include "network/ui/DlpDeviceScene.h"
#include "network/ui/GraphicsItem.h"
#include "testsupport/TestFiles.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpMainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace simtest;

namespace
{

// The hover test follows the pointer; on the X display that the test programs share, the one
// real pointer is moved by the programs beside this one and takes the hover away. These tests
// run on Qt's offscreen platform instead, set before the test main creates the application.
const bool s_offscreen = [] {
    if (qEnvironmentVariableIsEmpty("RESINOR_PRINTER_VIEW_TESTS_ON_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

class PrinterViews : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (simProgram().isEmpty())
            GTEST_SKIP() << "resinor-printer-sim was not built beside the tests";
        m_userFolder = uitest::isolatedUserFolder();
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
        registerPrinterNetwork();
    }
    void TearDown() override
    {
        m_window.reset();
        m_sims.clear();
        DlpOrvaneApp::setPrinterNetworkFactory({});
        DlpDeviceManager::setDetailsOpener({});
        setDiscoveryTargetOption(QString());
    }

    SimPrinter &sim(int host, const QStringList &args = {})
    {
        m_sims.push_back(std::make_unique<SimPrinter>(loopbackAddress(host), args));
        EXPECT_TRUE(m_sims.back()->isReady());
        return *m_sims.back();
    }

    // Opens the window with discovery pointed at the first simulator, shows the printer tab and
    // links the other simulators directly (no broadcast, so printers of other test programs
    // never appear).
    void openWindow(const QStringList &arguments = {})
    {
        if (!m_sims.empty())
            setDiscoveryTargetOption(m_sims.front()->address());
        m_window = std::make_unique<CDlpMainWindow>(arguments, nullptr, m_userFolder,
                                                    uitest::programFolder());
        m_window->showNormal();
        m_window->setGeometry(0, 0, 1500, 950);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        ASSERT_NE(scene(), nullptr);
        m_window->mainWindow()->onAddDeviceScene();
        for (const auto &s : m_sims)
            network()->linkDevice(s->address());
    }

    DlpDeviceScene *scene() const { return m_window->mainWindow()->deviceScene(); }
    NetworkApp *network() const
    {
        return dynamic_cast<NetworkApp *>(m_window->app()->printerNetwork());
    }
    bool waitForCards(int count)
    {
        return waitUntil([&] { return scene()->cards().size() == count; }, 8000);
    }
    DlpDeviceInfoUI *cardOf(const SimPrinter &s) const { return scene()->card(s.serial()); }

    QString m_userFolder;
    std::vector<std::unique_ptr<SimPrinter>> m_sims;
    std::unique_ptr<CDlpMainWindow> m_window;
};

QStringList printing(double layerSeconds = 60)
{
    return {"--printing", "--layers", "200", "--layer-seconds", QString::number(layerSeconds)};
}

} // namespace

TEST_F(PrinterViews, CardsAppearFilledAndTheFifthStartsTheSecondRow)
{
    for (int i = 1; i <= 5; ++i)
        sim(10 + i, i == 2 ? QStringList{"--serial", "P2"} + printing()
                           : QStringList{"--serial", QStringLiteral("P%1").arg(i)});
    openWindow();
    ASSERT_TRUE(waitForCards(5));
    DlpDeviceInfoUI *busy = scene()->card("P2");
    ASSERT_NE(busy, nullptr);
    EXPECT_TRUE(waitUntil([&] { return busy->labelText("filename").contains("resumed job"); }));
    EXPECT_EQ(busy->labelText("filename"), QStringLiteral("File name: resumed job.vxpr"));
    EXPECT_EQ(busy->labelText("totalPrintHeight"), QStringLiteral("Total height: 200"));
    EXPECT_EQ(busy->labelText("suppliesType"), QStringLiteral("Material type: Resin A 500ml"));
    EXPECT_EQ(busy->radioButton()->text(), QStringLiteral("P2"));
    // An idle printer shows no job.
    EXPECT_EQ(scene()->card("P1")->labelText("filename"), QStringLiteral("File name: "));
    const double w = DlpDeviceInfoUI::kWidth * 1.05;
    const double h = DlpDeviceInfoUI::kHeight * 1.05;
    EXPECT_EQ(scene()->item("P4")->pos(), QPointF(3 * w, 0));
    EXPECT_EQ(scene()->item("P5")->pos(), QPointF(0, h));
}

TEST_F(PrinterViews, HoveringACardZoomsAndHighlightsIt)
{
    SimPrinter &s = sim(62, {"--serial", "Z1"});
    openWindow();
    ASSERT_TRUE(waitForCards(1));
    GraphicsItem *item = scene()->item(s.serial());
    QWidget *viewport = scene()->view()->viewport();
    const QPoint centre =
        scene()->view()->mapFromScene(item->mapToScene(item->boundingRect().center()));
    // The pointer's moves as the view receives them (the real pointer of the X display is
    // shared with the other test programs running beside this one).
    const auto moveTo = [viewport](const QPoint &at) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    };
    moveTo(QPoint(2, viewport->height() - 2));
    moveTo(centre);
    EXPECT_TRUE(waitUntil([&] { return cardOf(s)->isHighlighted(); }));
    EXPECT_TRUE(waitUntil([&] { return item->transform().m11() > 1.19; }));
    // Back to the pixmap cache of device coordinates once the zoom has stopped.
    EXPECT_TRUE(
        waitUntil([&] { return item->cacheMode() == QGraphicsItem::DeviceCoordinateCache; }));
    EXPECT_TRUE(cardOf(s)->pauseButton()->isVisible());
    moveTo(QPoint(viewport->width() - 2, viewport->height() - 2));
    EXPECT_TRUE(waitUntil([&] { return !cardOf(s)->isHighlighted(); }));
    EXPECT_TRUE(waitUntil([&] { return item->transform().m11() < 1.01; }));
    EXPECT_FALSE(cardOf(s)->pauseButton()->isVisible());
}

TEST_F(PrinterViews, APrinterWithoutIdGetsNoCardAndVanishedPrintersGo)
{
    SimPrinter &named = sim(20, {"--serial", "N1"});
    sim(21, {"--serial", " "});
    openWindow();
    ASSERT_TRUE(waitUntil([&] {
        return network()->devices().size() == 2 && network()->devices()[1]->properties().size() > 5;
    }));
    ASSERT_TRUE(waitForCards(1));
    EXPECT_NE(cardOf(named), nullptr);
    const QString address = named.address();
    named.kill();
    EXPECT_TRUE(waitForCards(0));
    // It comes back: the periodic refresh of the visible panel finds it again.
    m_sims.push_back(std::make_unique<SimPrinter>(address, QStringList{"--serial", "N1"}));
    ASSERT_TRUE(m_sims.back()->isReady());
    EXPECT_TRUE(waitUntil([&] { return scene()->card("N1") != nullptr; },
                          3 * DlpDeviceScene::kRefreshMs + 2000));
}

TEST_F(PrinterViews, ProgressMovesWhileThePrinterPrints)
{
    SimPrinter &s = sim(22, printing(0.05));
    openWindow();
    ASSERT_TRUE(waitForCards(1));
    DlpDeviceInfoUI *card = cardOf(s);
    ASSERT_TRUE(waitUntil([&] { return card->progressBar()->value() > 0; }));
    const int first = card->progressBar()->value();
    EXPECT_TRUE(waitUntil([&] { return card->progressBar()->value() > first; }));
}

TEST_F(PrinterViews, PauseShowsContinueAndBackAndStopAsks)
{
    SimPrinter &s = sim(23, printing(0.5));
    openWindow();
    ASSERT_TRUE(waitForCards(1));
    DlpDeviceInfoUI *card = cardOf(s);
    scene()->item(s.serial())->zoomIn(); // the mouse is over the card
    ASSERT_TRUE(card->pauseButton()->isVisible());
    EXPECT_EQ(card->pauseButton()->toolTip(), QStringLiteral("Pause"));
    card->pauseButton()->click();
    EXPECT_TRUE(waitUntil([&] { return card->pauseButton()->toolTip() == "Continue"; }));
    card->pauseButton()->click();
    EXPECT_TRUE(waitUntil([&] { return card->pauseButton()->toolTip() == "Pause"; }));
    {
        uitest::MessageBoxAnswerer answer(QStringLiteral("Cancel"));
        card->stopButton()->click();
        EXPECT_EQ(answer.count(), 1);
        EXPECT_TRUE(
            answer.texts().value(0).contains("Confirm to stop printing Name:" + s.serial()));
    }
    QTest::qWait(200);
    EXPECT_EQ(s.count("^print stopped$"), 0);
    uitest::MessageBoxAnswerer answer(QStringLiteral("Ok"));
    card->stopButton()->click();
    EXPECT_FALSE(s.waitForLine("^print stopped$").isEmpty());
    EXPECT_TRUE(waitUntil([&] { return card->labelText("filename") == "File name: "; }));
}

TEST_F(PrinterViews, TakeReleaseAndAPrinterHeldByAnotherUser)
{
    SimPrinter &freeSim = sim(24, {"--serial", "F1"});
    SimPrinter &held = sim(25, {"--serial", "H1", "--held-by", "other-pc:10.9.8.7:bob"});
    openWindow();
    ASSERT_TRUE(waitForCards(2));
    DlpDeviceInfoUI *card = cardOf(freeSim);
    card->radioButton()->click();
    EXPECT_TRUE(waitUntil([&] { return card->isSelected() && !card->isWaiting(); }));
    EXPECT_TRUE(card->radioButton()->isChecked());
    EXPECT_FALSE(freeSim.waitForLine("^hold taken ").isEmpty());
    card->radioButton()->click();
    EXPECT_TRUE(waitUntil([&] { return !card->isSelected() && !card->isWaiting(); }));
    EXPECT_FALSE(card->radioButton()->isChecked());
    EXPECT_FALSE(freeSim.waitForLine("^hold released ").isEmpty());

    DlpDeviceInfoUI *other = cardOf(held);
    other->radioButton()->click();
    EXPECT_TRUE(waitUntil([&] { return !other->isWaiting(); }));
    EXPECT_FALSE(other->radioButton()->isChecked());
    EXPECT_TRUE(other->warningText().startsWith("Device is occupied"));
    EXPECT_TRUE(other->warningText().contains("10.9.8.7\nbob"));
}

TEST_F(PrinterViews, VersionsAreComparedNumerically)
{
    SimPrinter &newer = sim(26, {"--serial", "V10", "--version", "0.10.0.0,0.1"});
    SimPrinter &older = sim(27, {"--serial", "V1", "--version", "0.2.1.9,0.1"});
    openWindow();
    ASSERT_TRUE(waitForCards(2));
    cardOf(newer)->radioButton()->click();
    EXPECT_TRUE(waitUntil([&] { return cardOf(newer)->isSelected(); }));
    cardOf(older)->radioButton()->click();
    EXPECT_FALSE(cardOf(older)->isWaiting());
    EXPECT_FALSE(cardOf(older)->radioButton()->isChecked());
    EXPECT_TRUE(cardOf(older)->warningText().startsWith("The device software is too low"));
    EXPECT_EQ(older.count("^hold "), 0);
}

TEST_F(PrinterViews, SelectAllWhereEveryPrinterIsHeldElsewhereUnchecksItself)
{
    for (int i = 0; i < 3; ++i)
        sim(30 + i, {"--held-by", QStringLiteral("pc%1:10.0.0.%1:user%1").arg(i)});
    openWindow();
    ASSERT_TRUE(waitForCards(3));
    scene()->selectAllBox()->click();
    EXPECT_TRUE(scene()->selectAllBox()->isChecked() || !scene()->isBusy());
    EXPECT_TRUE(waitUntil([&] { return !scene()->isBusy(); }, 4000));
    EXPECT_FALSE(scene()->selectAllBox()->isChecked());
    for (DlpDeviceInfoUI *card : scene()->cards())
        EXPECT_FALSE(card->isSelected());
}

TEST_F(PrinterViews, SelectAllTakesEveryFreePrinterWithOneWait)
{
    for (int i = 0; i < 4; ++i)
        sim(34 + i);
    openWindow();
    ASSERT_TRUE(waitForCards(4));
    scene()->selectAllBox()->click();
    EXPECT_TRUE(waitUntil([&] { return !scene()->isBusy(); }, 4000));
    EXPECT_TRUE(scene()->selectAllBox()->isChecked());
    for (DlpDeviceInfoUI *card : scene()->cards())
        EXPECT_TRUE(card->isSelected());
}

TEST_F(PrinterViews, APrinterThatNeverAnswersIsLeftUnchangedAndDoesNotHoldUpTheOthers)
{
    SimPrinter &silent = sim(60, {"--serial", "Q1", "--ignore-holds"});
    SimPrinter &answering = sim(61, {"--serial", "Q2"});
    openWindow();
    ASSERT_TRUE(waitForCards(2));
    DlpDeviceInfoUI *card = cardOf(silent);
    card->radioButton()->click();
    EXPECT_TRUE(card->isWaiting());
    EXPECT_FALSE(card->radioButton()->isEnabled());
    // The window keeps running meanwhile: the other printer can be taken at once.
    cardOf(answering)->radioButton()->click();
    EXPECT_TRUE(waitUntil([&] { return cardOf(answering)->isSelected(); }));
    EXPECT_TRUE(waitUntil([&] { return !card->isWaiting(); }, 3000));
    EXPECT_TRUE(card->radioButton()->isEnabled());
    EXPECT_FALSE(card->radioButton()->isChecked());
    EXPECT_FALSE(card->isSelected());
    EXPECT_FALSE(silent.waitForLine("^hold ignored$").isEmpty());
}

TEST_F(PrinterViews, SendWithoutASelectedPrinterSaysSo)
{
    sim(38);
    openWindow();
    ASSERT_TRUE(waitForCards(1));
    uitest::MessageBoxAnswerer answer;
    scene()->sendPackageButton()->click();
    EXPECT_TRUE(waitUntil([&] { return answer.count() == 1; }, 4000));
    EXPECT_EQ(answer.texts().value(0), QStringLiteral("No selected device. Please select device."));
}

TEST_F(PrinterViews, ASceneSentToTwoTakenPrintersArrivesByteIdentical)
{
    QTemporaryDir files;
    const QString stl = files.filePath("box.stl");
    testsupport::writeFile(stl,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 8, 8, 4)));
    SimPrinter &a = sim(40, {"--serial", "S1"});
    SimPrinter &b = sim(41, {"--serial", "S2"});
    openWindow({stl});
    ASSERT_TRUE(waitUntil([&] { return m_window->app()->scene().models().size() == 1; }, 10000));
    m_window->app()->setAccuracyFormRunner([](DlpConfigAccuracyForm &form) {
        form.cbAccuracy()->setCurrentText(QStringLiteral("0.05"));
        QTest::keyClicks(form.lePrefix(), QStringLiteral("scene"));
        form.onOK();
        return form.result() == QDialog::Accepted;
    });
    ASSERT_TRUE(waitForCards(2));
    for (SimPrinter *s : {&a, &b}) {
        cardOf(*s)->radioButton()->click();
        ASSERT_TRUE(waitUntil([&] { return cardOf(*s)->isSelected(); }));
    }
    scene()->sendSceneButton()->click();
    const QString receivedA = a.waitForLine("^received ", 30000);
    const QString receivedB = b.waitForLine("^received ", 30000);
    ASSERT_FALSE(receivedA.isEmpty());
    ASSERT_FALSE(receivedB.isEmpty());
    const QString name = receivedA.section(' ', 1, -2);
    const QString package =
        QDir(m_userFolder).filePath(QSettings().value("slicer/vxprName").toString());
    const QByteArray sent = testsupport::readFile(package);
    ASSERT_FALSE(sent.isEmpty()) << qPrintable(package);
    EXPECT_EQ(testsupport::readFile(QDir(a.storage()).filePath(name)), sent);
    EXPECT_EQ(testsupport::readFile(QDir(b.storage()).filePath(name)), sent);
    // The not-printing printers were taken with afterPrint 1: they start the print.
    EXPECT_FALSE(a.waitForLine("^print started ").isEmpty());
    // The upload display returns to idle once the transfer has reached its end.
    for (SimPrinter *s : {&a, &b})
        EXPECT_TRUE(waitUntil([&] { return cardOf(*s)->printer()->get("upload").isEmpty(); }));
    EXPECT_TRUE(network()->isTransferIdle());
}

TEST_F(PrinterViews, APrinterThatFailsMidSendIsNamedAndTheOtherGetsTheFile)
{
    QTemporaryDir files;
    const QString package = files.filePath("job.vxpr");
    QByteArray bytes(600000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 31);
    testsupport::writeFile(package, bytes);
    SimPrinter &good = sim(42, {"--serial", "G1"});
    SimPrinter &bad =
        sim(43, {"--serial", "B1", "--name", "Lab-broken", "--vanish-after", "50000"});
    openWindow();
    ASSERT_TRUE(waitForCards(2));
    m_window->app()->setPackageChooser([package](const QString &) { return package; });
    for (SimPrinter *s : {&good, &bad}) {
        cardOf(*s)->radioButton()->click();
        ASSERT_TRUE(waitUntil([&] { return cardOf(*s)->isSelected(); }));
    }
    scene()->sendPackageButton()->click();
    EXPECT_FALSE(good.waitForLine("^received job.vxpr 600000$", 20000).isEmpty());
    QMessageBox *box = nullptr;
    EXPECT_TRUE(waitUntil(
        [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible())
                    box = b;
            return box != nullptr;
        },
        20000));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(
        box->text().startsWith("Sending to printer Lab-broken (" + bad.address() + ") failed: "))
        << box->text().toStdString();
    box->close();
}

TEST_F(PrinterViews, TheTreeListsThePropertiesInOrderAndDoubleClickOpensTheDetails)
{
    SimPrinter &s = sim(44, {"--serial", "T1", "--name", "Tree-one"});
    openWindow();
    ASSERT_TRUE(waitForCards(1));
    NetClientCmd *opened = nullptr;
    DlpDeviceManager::setDetailsOpener(
        [&opened](NetClientCmd *printer, DlpDeviceManager *) { opened = printer; });
    m_window->mainWindow()->onDevicesShow();
    DlpDeviceManager *manager = m_window->mainWindow()->deviceManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(waitUntil([&] { return manager->isVisible(); }));
    QStandardItemModel *model = manager->model();
    // A printer can describe itself before its "linked" (which gives the address) arrives.
    ASSERT_TRUE(waitUntil([&] {
        return network()->devices().size() == 1 && !network()->devices()[0]->get("IP").isEmpty();
    }));
    ASSERT_TRUE(waitUntil([&] {
        manager->onUpdateDeviceTree(network()->devices());
        return model->rowCount() == 1 && model->item(0)->rowCount() >= 1;
    }));
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Index"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Information"));
    QStandardItem *root = model->item(0);
    EXPECT_EQ(root->text(), QStringLiteral("Device info"));
    ASSERT_EQ(root->rowCount(), 1);
    QStandardItem *printer = root->child(0, 0);
    EXPECT_EQ(printer->text(), QStringLiteral("Device name"));
    EXPECT_EQ(root->child(0, 1)->text(), QStringLiteral("Tree-one"));
    const QStringList labels = {"Device ID",
                                "A board version",
                                "Device state",
                                "Device IP",
                                "Whether the material is enough",
                                "Material info"};
    const QStringList values = {"T1",        "0.3.1.0", "idle",
                                s.address(), "enough",  "Resin A,500ml,405nm,1"};
    ASSERT_EQ(printer->rowCount(), labels.size());
    for (int i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(printer->child(i, 0)->text(), labels[i]);
        EXPECT_EQ(printer->child(i, 1)->text(), values[i]);
    }
    manager->onDoubleClicked(root->child(0, 1)->index());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->get("ID"), QStringLiteral("T1"));
    manager->close();
}

class PrinterTabScreenshot : public PrinterViews, public ::testing::WithParamInterface<const char *>
{
};

// Pictures of the printer tab with three printers, one printing, for a reviewer:
// <build>/network/ui/screenshots/.
TEST_P(PrinterTabScreenshot, ofThreePrintersOnePrinting)
{
    const QString lang = QLatin1String(GetParam());
    ASSERT_TRUE(uitest::useLanguage(lang));
    sim(50, {"--serial", "LAB-1", "--name", "Lab-1"});
    sim(51, QStringList{"--serial", "LAB-2", "--name", "Lab-2"} + printing(3));
    sim(52, {"--serial", "LAB-3", "--name", "Lab-3", "--held-by", "pc:10.1.1.1:ann"});
    openWindow();
    m_window->onchangeLanguage();
    ASSERT_TRUE(waitForCards(3));
    ASSERT_TRUE(
        waitUntil([&] { return scene()->card("LAB-2")->progressBar()->value() > 0; }, 8000));
    scene()->card("LAB-3")->querySelection();
    waitUntil([&] { return !scene()->card("LAB-3")->isWaiting(); });
    scene()->item("LAB-2")->zoomIn();
    QTest::qWait(300);
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = QStringLiteral("%1/printers_%2.png").arg(folder, lang);
    EXPECT_TRUE(m_window->grab().save(path)) << qPrintable(path);
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

INSTANTIATE_TEST_SUITE_P(Languages, PrinterTabScreenshot, ::testing::Values("en", "zh"));

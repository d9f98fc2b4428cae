#include "UiTestSupport.h"

// The render headers bring GLEW, which must come before any Qt GL header.
#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DRenderHost.h"
#include "render/ViewTurner.h"

#include "app/CEnvironmentColors.h"
#include "app/DlpConfigAccuracyForm.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "io/DIoPartBase.h"
#include "io/DModelIoManager.h"
#include "render/DlpClipZWidget.h"
#include "render/DlpGlCamareWidget.h"
#include "render/GLBox.h"
#include "testsupport/TestFiles.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpModelOperateWidget.h"
#include "ui/DlpProccessBar.h"
#include "ui/DlpStatusBarWidget.h"
#include "ui/LanguageChooser.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <atomic>

namespace
{

struct ViewPixels {
    int model = 0;
    int grid = 0;
};

// Pixels of the 3D view in the hue of `modelColor` (lit and tinted, so only the hue and a
// clear saturation are compared) and near-white grey pixels of the platform grid and cage.
ViewPixels countViewPixels(const QImage &shot, const QRect &view, const QColor &modelColor)
{
    ViewPixels counts;
    const int modelHue = modelColor.hsvHue();
    for (int y = view.top(); y <= view.bottom(); ++y) {
        for (int x = view.left(); x <= view.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            const int lo = qMin(c.red(), qMin(c.green(), c.blue()));
            const int hi = qMax(c.red(), qMax(c.green(), c.blue()));
            if (lo > 200 && hi - lo < 12) {
                ++counts.grid;
                continue;
            }
            if (c.hsvSaturation() > 60 && c.value() > 60) {
                const int diff = qAbs(c.hsvHue() - modelHue);
                if (qMin(diff, 360 - diff) < 20) {
                    ++counts.model;
                }
            }
        }
    }
    return counts;
}

QColor selectedModelColor()
{
    const Vec3f rgb = Orvane3Ds::CEnvironmentColors::instance().roleColor(1);
    return QColor::fromRgbF(rgb.x, rgb.y, rgb.z);
}

class MainWindowEndToEnd : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_userFolder = uitest::isolatedUserFolder();
        ASSERT_TRUE(m_files.isValid());
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    }

    QString writeBox(const QString &name, float size)
    {
        const QString path = m_files.filePath(name);
        testsupport::writeFile(
            path, testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, size, size, size)));
        return path;
    }

    std::unique_ptr<CDlpMainWindow> makeWindow(const QStringList &arguments = {})
    {
        auto window = std::make_unique<CDlpMainWindow>(arguments, nullptr, m_userFolder,
                                                       uitest::programFolder());
        window->showNormal();
        window->setGeometry(0, 0, 1280, 800);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static bool waitForModels(CDlpMainWindow &window, std::size_t count)
    {
        for (int i = 0; i < 200; ++i) {
            if (window.app()->scene().models().size() >= count &&
                !window.app()->getImportManager()->isLoading()) {
                uitest::settle();
                return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

    // Asks the 3D view for a frame and waits until it has been drawn and shown.
    static bool waitForFrame(CDlpMainWindow &window)
    {
        QSignalSpy swapped(window.glBox(), &QOpenGLWidget::frameSwapped);
        window.glBox()->update();
        return swapped.wait(5000) || !swapped.isEmpty();
    }

    // What the 3D view drew, without the widgets over it.
    static QImage viewImage(CDlpMainWindow &window) { return window.glBox()->grabFramebuffer(); }

    QString m_userFolder;
    QTemporaryDir m_files;
};

TEST_F(MainWindowEndToEnd, modelNamedOnTheCommandLineIsDrawnOnThePlatform)
{
    const QString stl = writeBox(QStringLiteral("box.stl"), 20.0f);
    auto window = makeWindow({stl});
    ASSERT_TRUE(waitForModels(*window, 1));
    ASSERT_TRUE(waitForFrame(*window));
    const QImage shot = viewImage(*window);
    const ViewPixels pixels = countViewPixels(shot, shot.rect(), selectedModelColor());
    EXPECT_GT(pixels.model, 300) << "the model is not visible in the 3D view";
    EXPECT_GT(pixels.grid, 300) << "the platform grid is not drawn";
    EXPECT_FALSE(window->mainWindow()->statusLabel()->isVisible());
}

TEST_F(MainWindowEndToEnd, emptyViewShowsTheGridButNoModel)
{
    auto window = makeWindow();
    ASSERT_TRUE(waitForFrame(*window));
    const QImage shot = viewImage(*window);
    const ViewPixels pixels = countViewPixels(shot, shot.rect(), selectedModelColor());
    EXPECT_LT(pixels.model, 20);
    EXPECT_GT(pixels.grid, 300);
}

TEST_F(MainWindowEndToEnd, clipSliderOffersOneStepPerTenthOfAMillimetre)
{
    auto window = makeWindow();
    QSlider *slider = window->clipWidget()->slider();
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 0) << "nothing to cut without a model";
    window->mainWindow()->openFiles({writeBox(QStringLiteral("low.stl"), 12.34f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    // 12.34 mm: 123 steps, and 12.34 >= 123.5 * 0.1 is false.
    EXPECT_EQ(slider->maximum(), 123);
    window->mainWindow()->openFiles({writeBox(QStringLiteral("tall.stl"), 20.0f)});
    ASSERT_TRUE(waitForModels(*window, 2));
    EXPECT_EQ(slider->maximum(), 200) << "follows the highest model";
    window->app()->scene().clear();
    window->app()->sceneChanged();
    EXPECT_EQ(slider->maximum(), 0);
}

TEST_F(MainWindowEndToEnd, topViewButtonTurnsTheViewWithoutHoldingTheWindow)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    if (qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE") == QLatin1String("1")) {
        EXPECT_LE(window->glBox()->format().samples(), 0) << "no multisampling in software";
    }
    Orvane3Ds::ViewTurner &turner = window->renderHost()->turner();
    auto eye = [&window] {
        return window->renderHost()->engine().frame()->context()->camera.eye();
    };
    bool ranMeanwhile = false;
    QTimer::singleShot(0, [&] { ranMeanwhile = turner.isAnimating(); });
    QTest::mouseClick(window->cameraButtons()->topButton(), Qt::LeftButton);
    EXPECT_LT(eye().z, 300.0f) << "the click came back only after the view had turned";
    for (int i = 0; i < 1000 && turner.isAnimating(); ++i) {
        QTest::qWait(10);
    }
    EXPECT_TRUE(ranMeanwhile) << "the window did not answer while the view turned";
    EXPECT_FALSE(turner.isAnimating());
    EXPECT_NEAR(eye().z, 600.0f, 5.0f);
    EXPECT_FALSE(window->cameraButtons()->topButton()->isEnabled());
}

TEST_F(MainWindowEndToEnd, droppingTwoFilesImportsBoth)
{
    auto window = makeWindow();
    const QString first = writeBox(QStringLiteral("first part.stl"), 10.0f);
    const QString second = writeBox(QStringLiteral("second.stl"), 12.0f);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    ASSERT_TRUE(data.hasFormat(QStringLiteral("text/uri-list")));
    DlpMainWindow *inner = window->mainWindow();
    const QPoint at = inner->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(inner, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(inner, &drop);
    ASSERT_TRUE(waitForModels(*window, 2));
    QStringList names;
    for (const auto &model : window->app()->scene().models()) {
        names << model->name();
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"first part.stl", "second.stl"}));
}

TEST_F(MainWindowEndToEnd, dragWithoutUrlsIsRefused)
{
    auto window = makeWindow();
    QMimeData data;
    data.setText(QStringLiteral("just text"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(window->mainWindow(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(MainWindowEndToEnd, outOfRangeEventsShowAndHideTheLabel)
{
    auto window = makeWindow();
    DlpStatusBarWidget *label = window->mainWindow()->statusLabel();
    window->app()->emitEvent(Orvane3Ds::OutsidePlatform, QStringLiteral("wfMainWarmingBreakUp"));
    // Delivered by queued call: workers may emit it too.
    EXPECT_FALSE(label->isVisible());
    uitest::settle();
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("Beyond printing range"));
    window->app()->emitEvent(Orvane3Ds::InsidePlatform);
    uitest::settle();
    EXPECT_FALSE(label->isVisible());
}

TEST_F(MainWindowEndToEnd, modelLargerThanThePlatformShowsTheLabel)
{
    const QString big = writeBox(QStringLiteral("big.stl"), 120.0f);
    auto window = makeWindow({big});
    ASSERT_TRUE(waitForModels(*window, 1));
    EXPECT_TRUE(window->mainWindow()->statusLabel()->isVisible());
}

TEST_F(MainWindowEndToEnd, startUpFileOfAnotherKindIsToldNotIgnored)
{
    const QString notes = m_files.filePath(QStringLiteral("notes.txt"));
    testsupport::writeFile(notes, "not a model");
    uitest::MessageBoxAnswerer answerer;
    auto window = makeWindow({notes});
    for (int i = 0; i < 100 && answerer.count() == 0; ++i) {
        QTest::qWait(20);
    }
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().startsWith(QDir::toNativeSeparators(notes) +
                                                    QStringLiteral(" was not opened")))
        << qPrintable(answerer.texts().first());
    EXPECT_TRUE(window->app()->scene().isEmpty());
}

TEST_F(MainWindowEndToEnd, badPlatformOptionIsToldAndTheFileStillOpens)
{
    uitest::MessageBoxAnswerer answerer;
    auto window = makeWindow({QStringLiteral("--platform"), QStringLiteral("20,x,5"),
                              writeBox(QStringLiteral("cube.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    for (int i = 0; i < 100 && answerer.count() == 0; ++i) {
        QTest::qWait(20);
    }
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(
        answerer.texts().first().startsWith(QStringLiteral("--platform 20,x,5 was ignored")))
        << qPrintable(answerer.texts().first());
    EXPECT_FALSE(window->app()->isSceneOutOfBounds()) << "the default platform is kept";
}

TEST_F(MainWindowEndToEnd, platformOptionSetsTheBuildPlatform)
{
    // A 10 mm cube fits the default platform but not one only 5 mm high.
    const QString cube = writeBox(QStringLiteral("cube.stl"), 10.0f);
    auto window = makeWindow({QStringLiteral("--platform"), QStringLiteral("20,20,5"), cube});
    ASSERT_TRUE(waitForModels(*window, 1));
    EXPECT_TRUE(window->mainWindow()->statusLabel()->isVisible());
    const Box3f box = window->app()->scene().models().front()->boundingBox();
    EXPECT_FLOAT_EQ(box.max.x, 10.0f) << "placed beside at the right edge of the 20 mm platform";
}

// A reader that reports once and then waits until the load is cancelled.
class WaitingReader : public DIoPartBase
{
  public:
    explicit WaitingReader(std::atomic<bool> *sawCancel) : m_sawCancel(sawCancel) {}

    std::shared_ptr<Mesh3D> read() override
    {
        report(1, 4);
        QElapsedTimer timer;
        timer.start();
        while (!isCancelled() && timer.elapsed() < 5000) {
            QThread::msleep(5);
        }
        *m_sawCancel = isCancelled();
        return nullptr;
    }

  private:
    std::atomic<bool> *m_sawCancel;
};

TEST_F(MainWindowEndToEnd, cancelInTheProgressWindowReachesTheImportManager)
{
    auto window = makeWindow();
    std::atomic<bool> sawCancel{false};
    auto manager = window->app()->getImportManager();
    manager->setReaderFactory(
        [&sawCancel](const QString &) { return std::make_unique<WaitingReader>(&sawCancel); });
    window->mainWindow()->openFiles({writeBox(QStringLiteral("slow.stl"), 10.0f)});
    DlpProccessBar *progress = DlpProccessBar::instance();
    for (int i = 0; i < 100 && !progress->isVisible(); ++i) {
        QTest::qWait(20);
    }
    ASSERT_TRUE(progress->isVisible());
    EXPECT_FALSE(window->mainWindow()->isEnabled());
    ASSERT_TRUE(progress->isCancelVisible());
    QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
    manager->waitForIdle();
    uitest::settle();
    EXPECT_TRUE(sawCancel.load());
    EXPECT_TRUE(window->app()->scene().isEmpty());
    manager->setReaderFactory(defaultPartReaderFactory());
    progress->end();
    uitest::settle();
    EXPECT_TRUE(window->mainWindow()->isEnabled());
}

TEST_F(MainWindowEndToEnd, closingDuringALoadCancelsItFirst)
{
    auto window = makeWindow();
    std::atomic<bool> sawCancel{false};
    auto manager = window->app()->getImportManager();
    manager->setReaderFactory(
        [&sawCancel](const QString &) { return std::make_unique<WaitingReader>(&sawCancel); });
    window->mainWindow()->openFiles({writeBox(QStringLiteral("slow.stl"), 10.0f)});
    ASSERT_TRUE(manager->isLoading());
    // The reader is at work once it has reported.
    for (int i = 0; i < 100 && !DlpProccessBar::instance()->isVisible(); ++i) {
        QTest::qWait(20);
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(window->close());
    // Well before the reader would give up by itself (5 s).
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_TRUE(sawCancel.load());
    EXPECT_FALSE(manager->isLoading());
    manager->setReaderFactory(defaultPartReaderFactory());
    DlpProccessBar::instance()->end();
    uitest::settle();
}

TEST_F(MainWindowEndToEnd, importStlOpensTheDialogInTheRememberedFolder)
{
    auto window = makeWindow();
    QSettings().setValue("path/ImportPartsPath", m_files.path());
    const QString part = writeBox(QStringLiteral("part.stl"), 10.0f);
    QString shownFolder;
    QString shownTitle;
    QString shownFilter;
    window->mainWindow()->setOpenFileNamesProvider(
        [&](const QString &title, const QString &dir, const QString &filter) {
            shownTitle = title;
            shownFolder = dir;
            shownFilter = filter;
            return QStringList{part};
        });
    window->dlpMenuBar()->action(QStringLiteral("importStl"))->trigger();
    EXPECT_EQ(shownFolder, m_files.path());
    EXPECT_EQ(shownTitle, QStringLiteral("Open 3D Model File"));
    EXPECT_EQ(shownFilter, QStringLiteral("Model Files (*.stl *.obj *.slc)"));
    // The dialog returns once the load has ended.
    EXPECT_EQ(window->app()->scene().models().size(), 1u);
    EXPECT_FALSE(window->app()->getImportManager()->isLoading());
    ASSERT_TRUE(waitForModels(*window, 1));
    EXPECT_EQ(window->app()->scene().models().front()->name(), QStringLiteral("part.stl"));
}

TEST_F(MainWindowEndToEnd, importVxpjOpensTheProjectAndReturnsWhenItIsLoaded)
{
    auto window = makeWindow();
    QSettings().setValue("path/ImportProjectPath", m_files.path());
    // A project written by the window itself.
    {
        auto source = makeWindow({writeBox(QStringLiteral("saved.stl"), 10.0f)});
        ASSERT_TRUE(waitForModels(*source, 1));
        QString error;
        ASSERT_TRUE(
            source->app()->onSerialScene(m_files.filePath(QStringLiteral("scene.vxpj")), &error))
            << qPrintable(error);
    }
    QString shownTitle;
    QString shownFilter;
    window->mainWindow()->setOpenFileNamesProvider(
        [&](const QString &title, const QString &, const QString &filter) {
            shownTitle = title;
            shownFilter = filter;
            return QStringList{m_files.filePath(QStringLiteral("scene.vxpj"))};
        });
    window->dlpMenuBar()->action(QStringLiteral("importVxpj"))->trigger();
    EXPECT_EQ(shownTitle, QStringLiteral("Open 3D Model File"));
    EXPECT_EQ(shownFilter, QStringLiteral("Program file (*.vxpj)"));
    ASSERT_EQ(window->app()->scene().models().size(), 1u);
    EXPECT_EQ(window->app()->scene().models().front()->name(), QStringLiteral("saved.stl"));
}

QStringList g_debugLines;
void keepDebugLines(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg) {
        g_debugLines << text;
    }
}

TEST_F(MainWindowEndToEnd, importDialogDuringALoadWaitsForItAndSaysSo)
{
    auto window = makeWindow();
    std::atomic<bool> sawCancel{false};
    auto manager = window->app()->getImportManager();
    manager->setReaderFactory(
        [&sawCancel](const QString &) { return std::make_unique<WaitingReader>(&sawCancel); });
    window->mainWindow()->openFiles({writeBox(QStringLiteral("slow.stl"), 10.0f)});
    ASSERT_TRUE(manager->isLoading());
    const QString second = writeBox(QStringLiteral("second.stl"), 10.0f);
    window->mainWindow()->setOpenFileNamesProvider(
        [&](const QString &, const QString &, const QString &) { return QStringList{second}; });
    // The user cancels the running load from the progress window a moment later.
    QTimer::singleShot(300, [&window] { window->mainWindow()->onCancelProcess(); });
    g_debugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepDebugLines);
    window->dlpMenuBar()->action(QStringLiteral("importStl"))->trigger();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_debugLines.contains(QStringLiteral("There is a Loading Thread is not finished")))
        << qPrintable(g_debugLines.join('\n'));
    EXPECT_TRUE(sawCancel.load());
    EXPECT_FALSE(manager->isLoading()) << "the dialog returned before the load ended";
    EXPECT_TRUE(window->app()->scene().isEmpty()) << "the second file was dropped";
    manager->setReaderFactory(defaultPartReaderFactory());
    DlpProccessBar::instance()->end();
    uitest::settle();
}

TEST_F(MainWindowEndToEnd, loadButtonOfTheToolStripImportsParts)
{
    auto window = makeWindow();
    const QString part = writeBox(QStringLiteral("strip.stl"), 10.0f);
    window->mainWindow()->setOpenFileNamesProvider(
        [&](const QString &, const QString &, const QString &) { return QStringList{part}; });
    QTest::mouseClick(window->mainWindow()->toolStrip()->button(DlpModelOperateWidget::Load),
                      Qt::LeftButton);
    ASSERT_TRUE(waitForModels(*window, 1));
    EXPECT_EQ(QSettings().value("path/ImportPartsPath").toString(), m_files.path());
}

TEST_F(MainWindowEndToEnd, unreadableFileIsReportedByName)
{
    auto window = makeWindow();
    const QString broken = m_files.filePath(QStringLiteral("broken.stl"));
    testsupport::writeFile(broken, QByteArray("solid x\nfacet normal 0 0 1\n"));
    uitest::MessageBoxAnswerer answerer;
    window->mainWindow()->openFiles({broken});
    window->app()->getImportManager()->waitForIdle();
    for (int i = 0; i < 50 && answerer.count() == 0; ++i) {
        QTest::qWait(20);
    }
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("broken.stl")));
    EXPECT_TRUE(window->app()->scene().isEmpty());
    uitest::settle();
    EXPECT_FALSE(DlpProccessBar::instance()->isVisible());
    EXPECT_TRUE(window->mainWindow()->isEnabled());
}

// Entries whose work is not offered yet say so instead of doing nothing.
class EntryNotOfferedYet : public MainWindowEndToEnd,
                           public ::testing::WithParamInterface<const char *>
{
};

TEST_P(EntryNotOfferedYet, tellsTheUser)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    uitest::MessageBoxAnswerer answerer;
    window->dlpMenuBar()->action(QLatin1String(GetParam()))->trigger();
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("not available")))
        << qPrintable(answerer.texts().first());
}

INSTANTIATE_TEST_SUITE_P(DlpMenuBar, EntryNotOfferedYet, ::testing::Values("deviceManage"));

TEST_F(MainWindowEndToEnd, uploadEntrySwitchesToTheDeviceTabAndBack)
{
    auto window = makeWindow();
    window->app()->emitEvent(Orvane3Ds::OutsidePlatform, QStringLiteral("wfMainWarmingBreakUp"));
    uitest::settle();
    window->dlpMenuBar()->action(QStringLiteral("up"))->trigger();
    EXPECT_EQ(window->mainWindow()->tabs()->currentIndex(), 1);
    EXPECT_FALSE(window->mainWindow()->statusLabel()->isVisible());
    window->mainWindow()->tabs()->setCurrentIndex(0);
    EXPECT_TRUE(window->mainWindow()->statusLabel()->isVisible());
}

TEST_F(MainWindowEndToEnd, exportWithAnEmptySceneOnlyWarns)
{
    auto window = makeWindow();
    bool asked = false;
    window->mainWindow()->setSaveFileNameProvider(
        [&asked](const QString &, const QString &, const QString &) {
            asked = true;
            return QString();
        });
    uitest::MessageBoxAnswerer answerer;
    window->dlpMenuBar()->action(QStringLiteral("exportStl"))->trigger();
    EXPECT_EQ(answerer.texts(), QStringList({"No model file in the scene"}));
    EXPECT_EQ(answerer.titles(), QStringList({"Tip"}));
    EXPECT_FALSE(asked);
}

TEST_F(MainWindowEndToEnd, exportStlWritesTheModelsAndRemembersTheFolder)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    const QString target = m_files.filePath(QStringLiteral("out/exported"));
    QDir().mkpath(m_files.filePath(QStringLiteral("out")));
    QString filter;
    window->mainWindow()->setSaveFileNameProvider(
        [&](const QString &, const QString &, const QString &f) {
            filter = f;
            return target;
        });
    uitest::MessageBoxAnswerer answerer;
    window->dlpMenuBar()->action(QStringLiteral("exportStl"))->trigger();
    EXPECT_EQ(filter, QStringLiteral("Model Files (*.stl)"));
    const QByteArray written = testsupport::readFile(target + QStringLiteral(".stl"));
    // Binary STL: 80-byte header, count, 50 bytes per triangle; the box has 12.
    EXPECT_EQ(written.size(), 84 + 12 * 50);
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().startsWith(QStringLiteral("Save succeed\n")));
    EXPECT_EQ(QSettings().value("path/lastExportPath").toString(),
              m_files.filePath(QStringLiteral("out")));
}

TEST_F(MainWindowEndToEnd, failedExportIsNotReportedAsSaved)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    QSettings().setValue("path/lastExportPath", m_files.path());
    window->mainWindow()->setSaveFileNameProvider(
        [&](const QString &, const QString &, const QString &) {
            return m_files.filePath(QStringLiteral("no/such/folder/x.vxpj"));
        });
    uitest::MessageBoxAnswerer answerer;
    EXPECT_FALSE(window->mainWindow()->runSceneExport());
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().startsWith(QStringLiteral("Save failed\n")));
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("x.vxpj")));
    // The folder the save failed in is not offered next time.
    EXPECT_EQ(QSettings().value("path/lastExportPath").toString(), m_files.path());
}

// File > Export Vxpr with the accuracy dialog answered and the folder chosen by `folder`.
class VxprExport : public MainWindowEndToEnd
{
  protected:
    void prepare(CDlpMainWindow &window, const QString &folder)
    {
        window.app()->setAccuracyFormRunner([](DlpConfigAccuracyForm &form) {
            form.cbAccuracy()->setCurrentText(QStringLiteral("0.05"));
            QTest::keyClicks(form.lePrefix(), QStringLiteral("part"));
            form.onOK();
            return form.result() == QDialog::Accepted;
        });
        window.app()->setDirectoryChooser([folder](QWidget *, const QString &) { return folder; });
    }

    static bool waitForRun(CDlpMainWindow &window, QSignalSpy &finished)
    {
        for (int i = 0; i < 2000 && finished.isEmpty(); ++i) {
            finished.wait(10);
        }
        window.app()->waitForPrintData();
        uitest::settle();
        return !finished.isEmpty();
    }

    // The progress window is closed and the window can be used again.
    static void expectWindowFree(CDlpMainWindow &window)
    {
        uitest::settle();
        EXPECT_FALSE(DlpProccessBar::instance()->isVisible());
        EXPECT_TRUE(window.mainWindow()->isEnabled());
    }
};

TEST_F(VxprExport, intoAMissingFolderSaysWhyAndFreesTheWindow)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    QSettings().setValue("path/lastExportPath", m_files.path());
    prepare(*window, m_files.filePath(QStringLiteral("no/such/folder")));
    QSignalSpy finished(window->app(), &DlpOrvaneApp::printDataFinished);
    uitest::MessageBoxAnswerer answerer;
    window->dlpMenuBar()->action(QStringLiteral("exportVxpr"))->trigger();
    ASSERT_TRUE(waitForRun(*window, finished));
    EXPECT_FALSE(finished.first().at(1).toBool());
    for (int i = 0; i < 50 && answerer.count() == 0; ++i) {
        QTest::qWait(20);
    }
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("no/such/folder")))
        << qPrintable(answerer.texts().first());
    expectWindowFree(*window);
    EXPECT_EQ(QSettings().value("path/lastExportPath").toString(), m_files.path());
}

TEST_F(VxprExport, cancelledInTheProgressWindowFreesTheWindow)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    prepare(*window, m_files.path());
    // The window's own progress route, held at the first slicing step until the user cancels.
    DlpOrvaneApp *app = window->app();
    app->setProgressCallback([app](int percent, const QString &stage, bool) {
        DlpProccessBar::instance()->report(stage, percent, !app->isCancelled());
        if (stage == QLatin1String("Slicing") && percent < 98) {
            QElapsedTimer timer;
            timer.start();
            while (!app->isCancelled() && timer.elapsed() < 10000) {
                QThread::msleep(5);
            }
        }
    });
    QSignalSpy finished(app, &DlpOrvaneApp::printDataFinished);
    uitest::MessageBoxAnswerer answerer;
    window->dlpMenuBar()->action(QStringLiteral("exportVxpr"))->trigger();
    DlpProccessBar *progress = DlpProccessBar::instance();
    for (int i = 0; i < 500 && !progress->isVisible(); ++i) {
        QTest::qWait(10);
    }
    ASSERT_TRUE(progress->isVisible());
    EXPECT_FALSE(window->mainWindow()->isEnabled());
    QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForRun(*window, finished));
    EXPECT_EQ(finished.first().at(2).toString(), QStringLiteral("Canceled"));
    EXPECT_EQ(answerer.count(), 0) << "a cancel is no failure to report";
    expectWindowFree(*window);
}

// A model beyond the platform: the user is asked before anything is sliced.
struct BeyondCase {
    const char *name;
    const char *answer;
    bool goesOn;
};

class VxprExportBeyondThePlatform : public VxprExport,
                                    public ::testing::WithParamInterface<BeyondCase>
{
};

TEST_P(VxprExportBeyondThePlatform, asksFirst)
{
    auto window = makeWindow({writeBox(QStringLiteral("big.stl"), 120.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    ASSERT_TRUE(window->app()->isSceneOutOfBounds());
    bool accuracyShown = false;
    window->app()->setAccuracyFormRunner([&accuracyShown](DlpConfigAccuracyForm &) {
        accuracyShown = true;
        return false;
    });
    uitest::MessageBoxAnswerer answerer(QLatin1String(GetParam().answer));
    window->dlpMenuBar()->action(QStringLiteral("exportVxpr"))->trigger();
    ASSERT_GE(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().startsWith(
        QStringLiteral("These models lie beyond the printing range")))
        << qPrintable(answerer.texts().first());
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("big.stl")));
    EXPECT_EQ(accuracyShown, GetParam().goesOn);
    EXPECT_FALSE(window->app()->isExportRunning());
}

INSTANTIATE_TEST_SUITE_P(DlpOrvaneApp, VxprExportBeyondThePlatform,
                         ::testing::Values(BeyondCase{"Cancel", "Cancel", false},
                                           BeyondCase{"Ok", "Ok", true}),
                         [](const ::testing::TestParamInfo<BeyondCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(VxprExport, printingAModelBeyondThePlatformAsksFirst)
{
    auto window = makeWindow({writeBox(QStringLiteral("big.stl"), 120.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    bool accuracyShown = false;
    window->app()->setAccuracyFormRunner([&accuracyShown](DlpConfigAccuracyForm &) {
        accuracyShown = true;
        return false;
    });
    uitest::MessageBoxAnswerer answerer(QStringLiteral("Cancel"));
    window->app()->onTransforScence();
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("big.stl")));
    EXPECT_FALSE(accuracyShown);
    EXPECT_FALSE(window->app()->isPrintRunning());
}

TEST_F(VxprExport, thatSucceedsSaysSo)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    const QString folder = m_files.filePath(QStringLiteral("packages"));
    ASSERT_TRUE(QDir().mkpath(folder));
    prepare(*window, folder);
    QSignalSpy finished(window->app(), &DlpOrvaneApp::printDataFinished);
    uitest::MessageBoxAnswerer answerer;
    window->dlpMenuBar()->action(QStringLiteral("exportVxpr"))->trigger();
    ASSERT_TRUE(waitForRun(*window, finished));
    ASSERT_TRUE(finished.first().at(1).toBool()) << qPrintable(finished.first().at(2).toString());
    const QString package = finished.first().at(0).toString();
    EXPECT_TRUE(QFileInfo(package).size() > 590134);
    for (int i = 0; i < 50 && answerer.count() == 0; ++i) {
        QTest::qWait(20);
    }
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_EQ(answerer.texts().first(), QStringLiteral("Save succeed\n%1").arg(package));
    expectWindowFree(*window);
    EXPECT_EQ(QSettings().value("path/lastExportPath").toString(), folder);
}

struct CloseCase {
    const char *name;
    const char *answer;
    bool dialogGivesFile;
    bool closes;
};

class CloseWithModels : public MainWindowEndToEnd, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(CloseWithModels, asksToSaveFirst)
{
    const CloseCase &c = GetParam();
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    const QString target = m_files.filePath(QStringLiteral("saved.vxpj"));
    window->mainWindow()->setSaveFileNameProvider(
        [&](const QString &, const QString &, const QString &) {
            return c.dialogGivesFile ? target : QString();
        });
    uitest::MessageBoxAnswerer answerer(QLatin1String(c.answer));
    const bool closed = window->close();
    EXPECT_EQ(closed, c.closes);
    ASSERT_GE(answerer.count(), 1);
    EXPECT_EQ(answerer.texts().first(), QStringLiteral("Save Model?"));
    EXPECT_EQ(QFileInfo::exists(target), c.dialogGivesFile && QLatin1String(c.answer) == "Yes");
}

INSTANTIATE_TEST_SUITE_P(CDlpMainWindow, CloseWithModels,
                         ::testing::Values(CloseCase{"YesAndSaved", "Yes", true, true},
                                           CloseCase{"YesButDialogCancelled", "Yes", false, false},
                                           CloseCase{"No", "No", false, true},
                                           CloseCase{"Cancel", "Cancel", true, false}),
                         [](const ::testing::TestParamInfo<CloseCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainWindowEndToEnd, closingAnEmptySceneAsksNothing)
{
    auto window = makeWindow();
    uitest::MessageBoxAnswerer answerer;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(answerer.count(), 0);
}

// Every text the window shows, in English and in Chinese, is a real text and no raw key.
class NoRawKeys : public MainWindowEndToEnd, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(NoRawKeys, inMenusTabsAndToolTips)
{
    ASSERT_TRUE(uitest::useLanguage(QLatin1String(GetParam())));
    auto window = makeWindow();
    window->onchangeLanguage();
    DlpMenuBar *bar = window->dlpMenuBar();
    for (const QString &menuKey : bar->menuKeys()) {
        EXPECT_NE(bar->menu(menuKey)->title(), menuKey);
        for (const QString &key : bar->actionKeys(menuKey)) {
            // The one key that is its own English text.
            if (key != QLatin1String("Languages") || QLatin1String(GetParam()) != "en") {
                EXPECT_NE(bar->action(key)->text(), key) << qPrintable(key);
            }
            EXPECT_FALSE(bar->action(key)->text().isEmpty()) << qPrintable(key);
        }
    }
    const QStringList tipKeys{"loadModel",      "scaleModel",    "rorateModel", "layoutModel",
                              "jewelrySupport", "originSupport", "deviceManage"};
    for (int i = 0; i < DlpModelOperateWidget::ButtonCount; ++i) {
        const QString tip =
            window->mainWindow()->toolStrip()->button(DlpModelOperateWidget::Button(i))->toolTip();
        EXPECT_FALSE(tipKeys.contains(tip)) << qPrintable(tip);
    }
    EXPECT_NE(window->mainWindow()->tabs()->tabText(0), QStringLiteral("engineEdit"));
    EXPECT_NE(window->mainWindow()->tabs()->tabText(1), QStringLiteral("currentDevice"));
    EXPECT_NE(window->title(), QStringLiteral("OrvaneCorp"));
    EXPECT_NE(window->maxButton()->toolTip(), QStringLiteral("MainWindowMax"));
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

INSTANTIATE_TEST_SUITE_P(CDlpMainWindow, NoRawKeys, ::testing::Values("en", "zh"));

TEST_F(MainWindowEndToEnd, languageEntrySwitchesTheWholeWindow)
{
    auto window = makeWindow();
    auto choose = [](const QString &name) {
        auto *timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, name] {
            if (auto *dialog = qobject_cast<LanguageChooser *>(QApplication::activeModalWidget())) {
                for (QRadioButton *button : dialog->buttons()) {
                    if (button->text() == name) {
                        button->click();
                    }
                }
                dialog->accept();
                timer->deleteLater();
            }
        });
        timer->start(20);
    };
    choose(QStringLiteral("简体中文"));
    window->dlpMenuBar()->action(QStringLiteral("Languages"))->trigger();
    EXPECT_EQ(QSettings().value("softLang").toString(), QStringLiteral("zh"));
    EXPECT_EQ(window->language(), QStringLiteral("zh"));
    EXPECT_EQ(window->dlpMenuBar()->menu(QStringLiteral("file"))->title(), QStringLiteral("文件"));
    EXPECT_EQ(window->mainWindow()->tabs()->tabText(0), QStringLiteral("程序编辑"));
    EXPECT_EQ(window->mainWindow()->toolStrip()->button(DlpModelOperateWidget::Load)->toolTip(),
              QStringLiteral("加载模型"));
    choose(QStringLiteral("English"));
    window->dlpMenuBar()->action(QStringLiteral("Languages"))->trigger();
    EXPECT_EQ(QSettings().value("softLang").toString(), QStringLiteral("en"));
    EXPECT_EQ(window->dlpMenuBar()->menu(QStringLiteral("file"))->title(), QStringLiteral("File"));
    EXPECT_EQ(window->title(), QStringLiteral("Resinor - DLP print preparation"));
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

TEST_F(MainWindowEndToEnd, languageSwitchReachesCameraTipsStandardButtonsAndFileErrors)
{
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 10.0f)});
    ASSERT_TRUE(waitForModels(*window, 1));
    EXPECT_EQ(window->cameraButtons()->topButton()->toolTip(), QStringLiteral("Top view"));
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("zh")));
    window->onchangeLanguage();
    EXPECT_EQ(window->cameraButtons()->topButton()->toolTip(), QStringLiteral("俯视图"));
    for (QPushButton *button : window->cameraButtons()->buttons()) {
        EXPECT_FALSE(button->toolTip().endsWith(QStringLiteral("View")))
            << qPrintable(button->toolTip());
    }
    window->mainWindow()->setSaveFileNameProvider(
        [&](const QString &, const QString &, const QString &) {
            return m_files.filePath(QStringLiteral("no/such/folder/x.vxpj"));
        });
    uitest::MessageBoxAnswerer answerer;
    EXPECT_FALSE(window->mainWindow()->runSceneExport());
    ASSERT_EQ(answerer.count(), 1);
    // The reason of the failure in Chinese, and the box's standard button too.
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("x.vxpj: 工程文件无法打开")))
        << qPrintable(answerer.texts().first());
    EXPECT_EQ(answerer.buttonTexts().first(), QStringLiteral("确定"));
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    window->onchangeLanguage();
    EXPECT_EQ(window->cameraButtons()->topButton()->toolTip(), QStringLiteral("Top view"));
}

// Pictures of the window with a model loaded, for a reviewer: <build>/ui/screenshots/.
class Screenshot : public MainWindowEndToEnd, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(Screenshot, ofTheWindowWithAModel)
{
    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("screenshots"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString lang = QLatin1String(GetParam());
    ASSERT_TRUE(uitest::useLanguage(lang));
    auto window = makeWindow({writeBox(QStringLiteral("box.stl"), 20.0f)});
    window->onchangeLanguage();
    ASSERT_TRUE(waitForModels(*window, 1));
    window->mainWindow()->addScaleWidget();
    ASSERT_TRUE(waitForFrame(*window));
    const QString path = QStringLiteral("%1/mainwindow_%2.png").arg(folder, lang);
    EXPECT_TRUE(window->grab().save(path)) << qPrintable(path);
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

INSTANTIATE_TEST_SUITE_P(CDlpMainWindow, Screenshot, ::testing::Values("en", "zh"));

} // namespace

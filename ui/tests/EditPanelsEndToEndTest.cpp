#include "UiTestSupport.h"

#include "app/CommandStack.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "io/DModelIoManager.h"
#include "render/COrvaneFrame.h"
#include "render/DRenderHost.h"
#include "render/DRotateModelInteractor.h"
#include "render/DViewInput.h"
#include "render/GLBox.h"
#include "render/GlMath.h"
#include "testsupport/TestFiles.h"
#include "ui/BasicModelCreateWidget.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpLoginW.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpModelOperateWidget.h"
#include "ui/DlpScaleWidget.h"
#include "ui/LanguageChooser.h"
#include "ui/SdModelInfos.h"
#include "ui/SdModelLayout.h"
#include "ui/SdModelRorate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace
{

using Button = DlpModelOperateWidget::Button;

// Runs `act` on the first modal dialog of type T that appears (polling), once.
template <typename T> void whenModal(std::function<void(T *)> act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(20);
}

class EditPanels : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        qputenv("RESINOR_DISCOVERY_TARGET", "127.0.0.1");
        m_userFolder = uitest::isolatedUserFolder();
        ASSERT_TRUE(m_files.isValid());
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    }

    QString writeBox(const QString &name, float x, float y, float z)
    {
        const QString path = m_files.filePath(name);
        testsupport::writeFile(path,
                               testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, x, y, z)));
        return path;
    }

    // The window started the way a user starts it with a part named on the command line.
    std::unique_ptr<CDlpMainWindow> startWith(const QString &part)
    {
        auto window = std::make_unique<CDlpMainWindow>(QStringList{part}, nullptr, m_userFolder,
                                                       uitest::programFolder());
        window->showNormal();
        window->setGeometry(0, 0, 1280, 800);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        for (int i = 0; i < 200 && (window->app()->scene().models().empty() ||
                                    window->app()->getImportManager()->isLoading());
             ++i)
            QTest::qWait(25);
        uitest::settle();
        window->glBox()->grabFramebuffer();
        EXPECT_EQ(window->app()->scene().models().size(), 1u);
        // Other test programs may share the X server: nothing below relies on the window being
        // the active one.
        window->activateWindow();
        return window;
    }

    static std::shared_ptr<Model> only(CDlpMainWindow &w)
    {
        return w.app()->scene().models().front();
    }

    static Vec3f extent(const std::shared_ptr<Model> &m)
    {
        m->recomputeBounds();
        return m->extent();
    }

    static void pressToolButton(CDlpMainWindow &w, Button which)
    {
        QTest::mouseClick(w.mainWindow()->toolStrip()->button(which), Qt::LeftButton);
        uitest::settle();
    }

    // Gives `widget` the keyboard focus of its window, as a click into it does.
    static void focus(QWidget *widget)
    {
        widget->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(widget->window()->focusWidget(), widget);
    }

    // Shortcut keys are pressed with the 3D view under the keyboard. Other test programs may
    // share the X server and hold its focus, so the window is made Qt's active one directly.
    static void activate(QWidget *widget)
    {
        QApplication::setActiveWindow(widget->window());
        widget->setFocus(Qt::MouseFocusReason);
    }

    static void typeInto(QLineEdit *field, const QString &text)
    {
        focus(field);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        uitest::settle();
    }

    // Ends the window as the test harness does (the save question is the main window's own
    // test).
    static void closeWindow(std::unique_ptr<CDlpMainWindow> &w) { w.reset(); }

    QString screenshotPath(const QString &name)
    {
        const QString folder = QDir(QCoreApplication::applicationDirPath())
                                   .absoluteFilePath(QStringLiteral("screenshots"));
        QDir().mkpath(folder);
        return QStringLiteral("%1/%2.png").arg(folder, name);
    }

    QString m_userFolder;
    QTemporaryDir m_files;
};

// ---- scale panel ---------------------------------------------------------------------------

TEST_F(EditPanels, scaleButtonOpensThePanelAndAFactorScalesTheModelUndoRedoByKeys)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 20, 10, 5));
    pressToolButton(*window, DlpModelOperateWidget::Scale);
    auto *panel = qobject_cast<DlpScaleWidget *>(window->mainWindow()->panel(Button::Scale));
    ASSERT_TRUE(panel);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->sizeField(0)->text(), QStringLiteral("20.00"));
    EXPECT_EQ(panel->factorField(0)->text(), QStringLiteral("1.00"));
    auto model = only(*window);
    const QByteArray before(reinterpret_cast<const char *>(model->vertices().data()),
                            int(model->vertices().size() * sizeof(Point3f)));
    typeInto(panel->factorField(0), QStringLiteral("2"));
    Vec3f e = extent(model);
    EXPECT_NEAR(e.x, 40.0f, 1e-3);
    EXPECT_NEAR(e.y, 20.0f, 1e-3) << "locked: all axes follow";
    EXPECT_NEAR(e.z, 10.0f, 1e-3);
    EXPECT_EQ(model->boundingBox().min.z, 0.0f);
    EXPECT_EQ(panel->sizeField(1)->text(), QStringLiteral("20.00"));

    QAction *undo = window->dlpMenuBar()->action(QStringLiteral("undo"));
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Scale"));
    activate(window->glBox());
    QTest::keyClick(window->glBox(), Qt::Key_Z, Qt::ControlModifier);
    uitest::settle();
    const QByteArray after(reinterpret_cast<const char *>(model->vertices().data()),
                           int(model->vertices().size() * sizeof(Point3f)));
    EXPECT_EQ(after, before) << "Ctrl+Z gives the imported vertices back";
    EXPECT_EQ(panel->sizeField(0)->text(), QStringLiteral("20.00")) << "the panel follows";
    activate(window->glBox());
    QTest::keyClick(window->glBox(), Qt::Key_Y, Qt::ControlModifier);
    uitest::settle();
    EXPECT_NEAR(extent(model).x, 40.0f, 1e-3);
    QTest::keyClick(window->glBox(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    uitest::settle();
    EXPECT_NEAR(extent(model).x, 40.0f, 1e-3) << "nothing left to redo";
    closeWindow(window);
}

// Typing "1.5" scales at each usable digit but makes one undo step; a number typed after the
// edit ended is a step of its own.
TEST_F(EditPanels, theDigitsOfOneTypedNumberAreOneUndoStep)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 20, 10, 5));
    pressToolButton(*window, DlpModelOperateWidget::Scale);
    auto *panel = qobject_cast<DlpScaleWidget *>(window->mainWindow()->panel(Button::Scale));
    ASSERT_TRUE(panel);
    auto model = only(*window);
    auto vertices = [&model] {
        return QByteArray(reinterpret_cast<const char *>(model->vertices().data()),
                          int(model->vertices().size() * sizeof(Point3f)));
    };
    const QByteArray imported = vertices();
    const std::size_t depth = window->app()->commandStack().undoList().size();

    typeInto(panel->factorField(0), QStringLiteral("1.5"));
    EXPECT_NEAR(extent(model).x, 30.0f, 1e-3);
    EXPECT_EQ(window->app()->commandStack().undoList().size(), depth + 1);
    // The edit ends (Enter), then a second number: a second step.
    QTest::keyClick(panel->factorField(0), Qt::Key_Return);
    uitest::settle();
    const QByteArray once = vertices();
    typeInto(panel->factorField(1), QStringLiteral("2"));
    EXPECT_NEAR(extent(model).y, 20.0f, 1e-3);
    EXPECT_EQ(window->app()->commandStack().undoList().size(), depth + 2);

    activate(window->glBox());
    QTest::keyClick(window->glBox(), Qt::Key_Z, Qt::ControlModifier);
    uitest::settle();
    EXPECT_EQ(vertices(), once) << "the first undo takes back the second number only";
    QTest::keyClick(window->glBox(), Qt::Key_Z, Qt::ControlModifier);
    uitest::settle();
    EXPECT_EQ(vertices(), imported) << "the second takes back all of 1.5";
    EXPECT_EQ(window->app()->commandStack().undoList().size(), depth);
    QTest::keyClick(window->glBox(), Qt::Key_Y, Qt::ControlModifier);
    uitest::settle();
    EXPECT_EQ(vertices(), once) << "redo gives 1.5 in one step";
    closeWindow(window);
}

struct FieldCase {
    const char *name;
    bool factor;
    int axis;
    const char *typed;
    const char *shown;
    Vec3f extent; // of a 10 x 10 x 10 box afterwards
    bool unlock;
};

class ScaleFieldRules : public EditPanels, public ::testing::WithParamInterface<FieldCase>
{
};

TEST_P(ScaleFieldRules, onlyWhatIsValidIsApplied)
{
    const FieldCase &c = GetParam();
    auto window = startWith(writeBox(QStringLiteral("cube.stl"), 10, 10, 10));
    pressToolButton(*window, DlpModelOperateWidget::Scale);
    auto *panel = qobject_cast<DlpScaleWidget *>(window->mainWindow()->panel(Button::Scale));
    ASSERT_TRUE(panel);
    if (c.unlock)
        QTest::mouseClick(panel->lockButton(), Qt::LeftButton);
    QLineEdit *field = c.factor ? panel->factorField(c.axis) : panel->sizeField(c.axis);
    typeInto(field, QLatin1String(c.typed));
    EXPECT_EQ(field->text(), QLatin1String(c.shown));
    const Vec3f e = extent(only(*window));
    EXPECT_NEAR(e.x, c.extent.x, 1e-3);
    EXPECT_NEAR(e.y, c.extent.y, 1e-3);
    EXPECT_NEAR(e.z, c.extent.z, 1e-3);
    closeWindow(window);
}

const FieldCase kFieldCases[] = {
    {"EighthDecimalIsRemoved",
     true,
     0,
     "1.12345678",
     "1.1234567",
     {11.234567f, 11.234567f, 11.234567f},
     false},
    {"SecondPointIsRemoved", true, 0, "1.5.", "1.5", {15, 15, 15}, false},
    {"ZeroFactorIsNeverApplied", true, 1, "0", "0", {10, 10, 10}, false},
    {"ZeroPointZeroIsNeverApplied", true, 1, "0.0", "0.0", {10, 10, 10}, false},
    {"LettersAreDropped", false, 2, "12a", "12", {12, 12, 12}, false},
    {"UnlockedSizeYScalesOnlyY", false, 1, "20", "20", {10, 20, 10}, true},
    {"UnlockedFactorZScalesOnlyZ", true, 2, "3", "3", {10, 10, 30}, true},
};

INSTANTIATE_TEST_SUITE_P(DlpScaleWidget, ScaleFieldRules, ::testing::ValuesIn(kFieldCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditPanels, emptiedFieldGetsItsValueBackWhenTheEditEnds)
{
    auto window = startWith(writeBox(QStringLiteral("cube.stl"), 10, 10, 10));
    pressToolButton(*window, DlpModelOperateWidget::Scale);
    auto *panel = qobject_cast<DlpScaleWidget *>(window->mainWindow()->panel(Button::Scale));
    typeInto(panel->sizeField(0), QString());
    QTest::keyClick(panel->sizeField(0), Qt::Key_Return);
    EXPECT_EQ(panel->sizeField(0)->text(), QStringLiteral("10.00"));
    EXPECT_NEAR(extent(only(*window)).x, 10.0f, 1e-4);
    closeWindow(window);
}

TEST_F(EditPanels, volumeBelowTenCubicMillimetresShowsLessThanAHundredth)
{
    auto window = startWith(writeBox(QStringLiteral("tiny.stl"), 2, 2, 2));
    pressToolButton(*window, DlpModelOperateWidget::Scale);
    auto *panel = qobject_cast<DlpScaleWidget *>(window->mainWindow()->panel(Button::Scale));
    EXPECT_EQ(panel->volumeLabel()->text(), QStringLiteral("<0.01 cm^3"));
    closeWindow(window);
}

TEST_F(EditPanels, resetPutsTheReferenceSizeBack)
{
    auto window = startWith(writeBox(QStringLiteral("cube.stl"), 10, 10, 10));
    pressToolButton(*window, DlpModelOperateWidget::Scale);
    auto *panel = qobject_cast<DlpScaleWidget *>(window->mainWindow()->panel(Button::Scale));
    typeInto(panel->factorField(0), QStringLiteral("1.5"));
    ASSERT_NEAR(extent(only(*window)).x, 15.0f, 1e-3);
    QTest::mouseClick(panel->resetButton(), Qt::LeftButton);
    uitest::settle();
    EXPECT_NEAR(extent(only(*window)).x, 10.0f, 1e-3);
    EXPECT_EQ(panel->factorField(0)->text(), QStringLiteral("1.00"));
    closeWindow(window);
}

// ---- rotate panel ------------------------------------------------------------------------

TEST_F(EditPanels, rotatePanelTurnsTheModelByTheTypedAngleAndRestsItOnThePlatform)
{
    auto window = startWith(writeBox(QStringLiteral("bar.stl"), 20, 10, 4));
    pressToolButton(*window, DlpModelOperateWidget::Rorate);
    auto *panel = qobject_cast<SdModelRorate *>(window->mainWindow()->panel(Button::Rorate));
    ASSERT_TRUE(panel && panel->isVisible());
    Orvane3Ds::COrvaneFrame *frame = window->renderHost()->engine().frame().get();
    EXPECT_TRUE(frame->interactor()) << "the rotate tool is on while the panel shows";
    EXPECT_TRUE(frame->excirclesShown());
    QSpinBox *x = panel->spinBox(0);
    focus(x);
    x->selectAll();
    QTest::keyClicks(x, QStringLiteral("90"));
    QTest::keyClick(x, Qt::Key_Return);
    uitest::settle();
    const Vec3f e = extent(only(*window));
    EXPECT_NEAR(e.x, 20.0f, 1e-3);
    EXPECT_NEAR(e.y, 4.0f, 1e-3) << "y and z swapped";
    EXPECT_NEAR(e.z, 10.0f, 1e-3);
    EXPECT_NEAR(only(*window)->boundingBox().min.z, 0.0f, 1e-5);
    // Reset takes the turn back.
    QTest::mouseClick(panel->resetButton(), Qt::LeftButton);
    uitest::settle();
    EXPECT_NEAR(extent(only(*window)).z, 4.0f, 1e-3);
    EXPECT_EQ(x->value(), 0);
    pressToolButton(*window, DlpModelOperateWidget::Rorate);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(frame->interactor()) << "hiding the panel removes the tool";
    closeWindow(window);
}

TEST_F(EditPanels, changingOneAngleZeroesTheOthers)
{
    auto window = startWith(writeBox(QStringLiteral("bar.stl"), 20, 10, 4));
    pressToolButton(*window, DlpModelOperateWidget::Rorate);
    auto *panel = qobject_cast<SdModelRorate *>(window->mainWindow()->panel(Button::Rorate));
    panel->spinBox(1)->setValue(30);
    focus(panel->spinBox(0));
    QTest::keyClick(panel->spinBox(0), Qt::Key_Up);
    EXPECT_EQ(panel->spinBox(1)->value(), 0);
    EXPECT_EQ(panel->spinBox(0)->value(), 1);
    closeWindow(window);
}

TEST_F(EditPanels, rotatingWithTwoModelsSelectedDoesNothing)
{
    auto window = startWith(writeBox(QStringLiteral("bar.stl"), 20, 10, 4));
    window->app()->copyModels(1, 2);
    window->app()->selectAllModels();
    pressToolButton(*window, DlpModelOperateWidget::Rorate);
    auto *panel = qobject_cast<SdModelRorate *>(window->mainWindow()->panel(Button::Rorate));
    const std::size_t depth = window->app()->commandStack().undoList().size();
    focus(panel->spinBox(2));
    panel->spinBox(2)->setValue(45);
    QTest::keyClick(panel->spinBox(2), Qt::Key_Return);
    QTest::mouseClick(panel->resetButton(), Qt::LeftButton);
    EXPECT_EQ(window->app()->commandStack().undoList().size(), depth);
    closeWindow(window);
}

// ---- layout panel ------------------------------------------------------------------------

TEST_F(EditPanels, layoutPanelLetsTheMouseDragTheModelAndCtrlZPutsItBack)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 10, 10, 10));
    pressToolButton(*window, DlpModelOperateWidget::Layout);
    ASSERT_TRUE(window->mainWindow()->panel(Button::Layout)->isVisible());
    GLBox *view = window->glBox();
    Orvane3Ds::COrvaneFrame *frame = window->renderHost()->engine().frame().get();
    auto model = only(*window);
    model->recomputeBounds();
    const Box3f start = model->boundingBox();
    const Vec3f top{start.center().x, start.center().y, start.max.z};
    const Vec3f ndc = Orvane3Ds::projectPoint(frame->viewProjection(), top);
    const QPoint from(int((ndc.x + 1.0f) * 0.5f * view->width()),
                      view->height() - 1 - int((ndc.y + 1.0f) * 0.5f * view->height()));
    const QPoint to = from + QPoint(-120, 10);
    auto planePoint = [&](const QPoint &p) {
        const Ray ray = frame->pickRay(p.x(), p.y(), view->width(), view->height());
        return ray.origin + ray.direction * (-ray.origin.z / ray.direction.z);
    };
    const Vec3f expected = planePoint(to) - planePoint(from);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 6; ++i) {
        QMouseEvent move(QEvent::MouseMove, from + (to - from) * i / 6, Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    uitest::settle();
    model->recomputeBounds();
    EXPECT_GT(std::fabs(expected.x), 5.0f);
    EXPECT_NEAR(model->boundingBox().min.x, start.min.x + expected.x, 1e-2);
    EXPECT_NEAR(model->boundingBox().min.y, start.min.y + expected.y, 1e-2);
    EXPECT_EQ(model->boundingBox().min.z, 0.0f);
    EXPECT_EQ(window->dlpMenuBar()->action(QStringLiteral("undo"))->text(),
              QStringLiteral("Undo Move"));
    activate(view);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    uitest::settle();
    model->recomputeBounds();
    EXPECT_EQ(model->boundingBox().min.x, start.min.x);
    EXPECT_EQ(model->boundingBox().max.y, start.max.y);
    closeWindow(window);
}

TEST_F(EditPanels, copyAddsTheCopiesAndAutoLayoutSeparatesThem)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 10, 10, 10));
    pressToolButton(*window, DlpModelOperateWidget::Layout);
    auto *panel = qobject_cast<SdModelLayout *>(window->mainWindow()->panel(Button::Layout));
    panel->numbers()->setValue(3);
    panel->interval()->setValue(5);
    QTest::mouseClick(panel->copyButton(), Qt::LeftButton);
    uitest::settle();
    DScene &scene = window->app()->scene();
    ASSERT_EQ(scene.models().size(), 4u);
    EXPECT_EQ(scene.selection().size(), 3u) << "the copies are selected";
    QTest::mouseClick(panel->selectInverseButton(), Qt::LeftButton);
    EXPECT_EQ(scene.selection().size(), 1u);
    QTest::mouseClick(panel->selectAllButton(), Qt::LeftButton);
    EXPECT_EQ(scene.selection().size(), 4u);
    QTest::mouseClick(panel->layoutButton(), Qt::LeftButton);
    uitest::settle();
    std::vector<Box3f> boxes;
    for (const auto &m : scene.models()) {
        m->recomputeBounds();
        boxes.push_back(m->boundingBox());
    }
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const bool apart = boxes[i].max.x <= boxes[j].min.x + 1e-4f ||
                               boxes[j].max.x <= boxes[i].min.x + 1e-4f ||
                               boxes[i].max.y <= boxes[j].min.y + 1e-4f ||
                               boxes[j].max.y <= boxes[i].min.y + 1e-4f;
            EXPECT_TRUE(apart) << i << " and " << j << " overlap";
        }
    EXPECT_STREQ(window->app()->commandStack().undoName(), "LayoutModel");
    // Undo the layout, then the copy.
    window->dlpMenuBar()->action(QStringLiteral("undo"))->trigger();
    window->dlpMenuBar()->action(QStringLiteral("undo"))->trigger();
    EXPECT_EQ(scene.models().size(), 1u);
    closeWindow(window);
}

TEST_F(EditPanels, copyWithNothingSelectedSaysSo)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 10, 10, 10));
    window->app()->scene().clearSelection();
    pressToolButton(*window, DlpModelOperateWidget::Layout);
    auto *panel = qobject_cast<SdModelLayout *>(window->mainWindow()->panel(Button::Layout));
    uitest::MessageBoxAnswerer answerer;
    QTest::mouseClick(panel->copyButton(), Qt::LeftButton);
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_EQ(answerer.texts().first(), QStringLiteral("Select the models to copy first."));
    EXPECT_EQ(window->app()->scene().models().size(), 1u);
    closeWindow(window);
}

// ---- model list, basic model, small dialogs ---------------------------------------------------

TEST_F(EditPanels, modelListShowsARowPerModelAndClickingOneSelectsIt)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 20, 10, 5));
    window->app()->copyModels(1, 3);
    window->dlpMenuBar()->action(QStringLiteral("model_infos"))->trigger();
    SdModelInfos *list = window->mainWindow()->modelInfos();
    ASSERT_TRUE(list && list->isVisible());
    QTableWidget *table = list->table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("box.stl"));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("20.00*10.00*5.00"));
    EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("1.00"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("12"));
    EXPECT_EQ(table->item(0, 4)->text(), QStringLiteral("36"));
    const QString second = table->item(1, 0)->text();
    EXPECT_NE(second, QStringLiteral("box.stl"));
    const QRect cell = table->visualItemRect(table->item(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_EQ(window->app()->scene().selection().size(), 1u);
    EXPECT_EQ(window->app()->scene().currentModel()->name(), second);
    // A deleted model leaves the list.
    QTest::keyClick(window->glBox(), Qt::Key_Delete);
    uitest::settle();
    EXPECT_EQ(table->rowCount(), 1);
    closeWindow(window);
}

TEST_F(EditPanels, basicModelDialogBuildsARectangleOnThePlatform)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 10, 10, 10));
    whenModal<BasicModelCreateWidget>([](BasicModelCreateWidget *dialog) {
        dialog->lengthField()->setText(QStringLiteral(" 30 "));
        dialog->widthField()->setText(QStringLiteral("12"));
        dialog->heightField()->setText(QStringLiteral("2.5"));
        QTest::mouseClick(dialog->createButton(), Qt::LeftButton);
    });
    window->dlpMenuBar()->action(QStringLiteral("createBasicModel"))->trigger();
    uitest::settle();
    DScene &scene = window->app()->scene();
    ASSERT_EQ(scene.models().size(), 2u);
    auto block = scene.models().back();
    const Vec3f e = extent(block);
    EXPECT_NEAR(e.x, 30.0f, 1e-4);
    EXPECT_NEAR(e.y, 12.0f, 1e-4);
    EXPECT_NEAR(e.z, 2.5f, 1e-5);
    EXPECT_EQ(block->boundingBox().min.z, 0.0f);
    EXPECT_NEAR(block->volume(), 30.0 * 12.0 * 2.5, 1e-2) << "closed and wound outward";
    EXPECT_FALSE(window->app()->isSceneOutOfBounds());
    closeWindow(window);
}

struct RectangleCase {
    const char *name;
    const char *length;
    const char *width;
    const char *height;
};

class InvalidRectangle : public EditPanels, public ::testing::WithParamInterface<RectangleCase>
{
};

TEST_P(InvalidRectangle, isRefusedWithAWarning)
{
    const RectangleCase &c = GetParam();
    BasicModelCreateWidget dialog(nullptr);
    QStringList warnings;
    dialog.setWarning([&](const QString &t, const QString &text) { warnings << t + "/" + text; });
    dialog.lengthField()->setText(QLatin1String(c.length));
    dialog.widthField()->setText(QLatin1String(c.width));
    dialog.heightField()->setText(QLatin1String(c.height));
    QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
    EXPECT_EQ(warnings, QStringList{QStringLiteral("warning/invalid rectangle parameter")});
}

INSTANTIATE_TEST_SUITE_P(BasicModelCreateWidget, InvalidRectangle,
                         ::testing::Values(RectangleCase{"EmptyLength", "", "10", "5"},
                                           RectangleCase{"BlankHeight", "10", "10", "  "},
                                           RectangleCase{"NotAWholeNumber", "1.5", "10", "5"},
                                           RectangleCase{"ZeroHeight", "10", "10", "0"},
                                           RectangleCase{"Negative", "10", "-4", "5"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditPanels, languageChooserSwitchesAtOnceAndRemembersTheChoice)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 10, 10, 10));
    pressToolButton(*window, DlpModelOperateWidget::Layout);
    QString title;
    whenModal<LanguageChooser>([&title](LanguageChooser *chooser) {
        EXPECT_EQ(chooser->buttons().size(), 2);
        for (QRadioButton *button : chooser->buttons())
            if (button->text() == QStringLiteral("简体中文"))
                QTest::mouseClick(button, Qt::LeftButton);
        title = chooser->windowTitle();
        chooser->accept();
    });
    window->dlpMenuBar()->action(QStringLiteral("Languages"))->trigger();
    uitest::settle();
    EXPECT_EQ(title, QStringLiteral("语言：简体中文"));
    EXPECT_EQ(QSettings().value("softLang").toString(), QStringLiteral("zh"));
    EXPECT_EQ(window->mainWindow()->tabs()->tabText(0), QStringLiteral("程序编辑"));
    auto *layout = qobject_cast<SdModelLayout *>(window->mainWindow()->panel(Button::Layout));
    EXPECT_EQ(layout->copyButton()->text(), QStringLiteral("复制"));
    EXPECT_EQ(window->dlpMenuBar()->menu(QStringLiteral("edit"))->title(), QStringLiteral("编辑"));
    whenModal<LanguageChooser>([](LanguageChooser *chooser) {
        for (QRadioButton *button : chooser->buttons())
            if (button->text() == QStringLiteral("English"))
                QTest::mouseClick(button, Qt::LeftButton);
        chooser->accept();
    });
    window->dlpMenuBar()->action(QStringLiteral("Languages"))->trigger();
    uitest::settle();
    EXPECT_EQ(QSettings().value("softLang").toString(), QStringLiteral("en"));
    EXPECT_EQ(layout->copyButton()->text(), QStringLiteral("Copy"));
    closeWindow(window);
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

TEST_F(EditPanels, chooserChecksTheChineseButtonForAChineseLocale)
{
    LanguageChooser chooser(QStringLiteral("zh_CN"));
    int checked = 0;
    for (QRadioButton *button : chooser.buttons())
        if (button->isChecked()) {
            ++checked;
            EXPECT_EQ(button->text(), QStringLiteral("简体中文"));
        }
    EXPECT_EQ(checked, 1);
}

TEST_F(EditPanels, choosingTheActiveLanguageAgainStillTellsTheWindow)
{
    LanguageChooser chooser(QStringLiteral("en"));
    QSignalSpy changed(&chooser, &LanguageChooser::schangeLanguage);
    for (QRadioButton *button : chooser.buttons())
        if (button->isChecked())
            QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(QSettings().value("softLang").toString(), QStringLiteral("en"));
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

TEST_F(EditPanels, loginWindowHidesAndSignalsAnEmptyLogin)
{
    DlpLoginW login;
    QSignalSpy logins(&login, &DlpLoginW::sLogin);
    login.show();
    QTest::mouseClick(login.loginButton(), Qt::LeftButton);
    EXPECT_FALSE(login.isVisible());
    ASSERT_EQ(logins.count(), 1);
    EXPECT_TRUE(logins.first().first().toByteArray().isEmpty());
    login.show();
    QTest::mouseClick(login.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(logins.count(), 1);
}

// Every text of the panels and dialogs is translated in both languages: no raw key shows, and
// the Chinese texts hold no English words (units aside).
class NoRawKeysInPanels : public EditPanels, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(NoRawKeysInPanels, inPanelsDialogsAndTheEditMenu)
{
    const QString lang = QLatin1String(GetParam());
    ASSERT_TRUE(uitest::useLanguage(lang));
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 10, 10, 10));
    uitest::settle();
    const QStringList rawKeys{"ScaleLabel",
                              "sizeMm",
                              "factor",
                              "VolLabel",
                              "resetScale",
                              "lockProportions",
                              "RorateLabel",
                              "LayFlatCheck",
                              "rorateReset",
                              "rorateApplyTip",
                              "Copying Model",
                              "Layout Models",
                              "Selecte All",
                              "Selecte Inverse",
                              "Numbers",
                              "Interval",
                              "fileName",
                              "NumberOfTrangle",
                              "NumberOfPoints",
                              "Form",
                              "modelType",
                              "rectangle",
                              "other",
                              "undoName",
                              "undoNothing",
                              "redoNothing",
                              "edit",
                              "undo",
                              "redo",
                              "Which Language",
                              "Account:",
                              "Passwd:",
                              "selectModelToCopy",
                              "noModelToLayout"};
    QStringList texts;
    auto collect = [&texts](QWidget *root) {
        for (QWidget *w : root->findChildren<QWidget *>()) {
            if (auto *label = qobject_cast<QLabel *>(w))
                texts << label->text();
            if (auto *button = qobject_cast<QAbstractButton *>(w))
                texts << button->text();
            if (auto *group = qobject_cast<QGroupBox *>(w))
                texts << group->title();
            if (auto *box = qobject_cast<QComboBox *>(w))
                for (int i = 0; i < box->count(); ++i)
                    texts << box->itemText(i);
            texts << w->toolTip();
        }
    };
    for (Button which : {DlpModelOperateWidget::Scale, DlpModelOperateWidget::Rorate,
                         DlpModelOperateWidget::Layout})
        collect(window->mainWindow()->panel(which));
    window->dlpMenuBar()->action(QStringLiteral("model_infos"))->trigger();
    QTableWidget *table = window->mainWindow()->modelInfos()->table();
    for (int c = 0; c < table->columnCount(); ++c)
        texts << table->horizontalHeaderItem(c)->text();
    BasicModelCreateWidget basic(window->app());
    collect(&basic);
    texts << basic.windowTitle();
    DlpLoginW login;
    collect(&login);
    LanguageChooser chooser(lang);
    collect(&chooser);
    texts << chooser.windowTitle();
    for (QAction *action : window->dlpMenuBar()->menu(QStringLiteral("edit"))->actions())
        texts << action->text();
    texts << window->dlpMenuBar()->menu(QStringLiteral("edit"))->title();
    texts.removeAll(QString());
    ASSERT_GT(texts.size(), 30);
    // Units and axis names may stay Latin.
    const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    const QStringList units{"mm", "cm", "ml"};
    for (const QString &text : texts) {
        EXPECT_FALSE(rawKeys.contains(text) && lang == QLatin1String("zh")) << qPrintable(text);
        if (lang == QLatin1String("en")) {
            for (const QString &key : {QStringLiteral("sizeMm"), QStringLiteral("ScaleLabel"),
                                       QStringLiteral("LayFlatCheck"), QStringLiteral("undoName"),
                                       QStringLiteral("Selecte All"), QStringLiteral("fileName")})
                EXPECT_NE(text, key);
            continue;
        }
        if (text == QStringLiteral("English") || text.startsWith(QStringLiteral("box")))
            continue;
        auto it = word.globalMatch(text);
        while (it.hasNext()) {
            const QString found = it.next().captured();
            EXPECT_TRUE(units.contains(found)) << qPrintable(text);
        }
    }
    closeWindow(window);
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
}

INSTANTIATE_TEST_SUITE_P(EditPanels, NoRawKeysInPanels, ::testing::Values("en", "zh"));

// Pictures of each panel (English) for a reviewer: <build>/ui/screenshots/.
TEST_F(EditPanels, screenshotOfEveryPanel)
{
    auto window = startWith(writeBox(QStringLiteral("box.stl"), 20, 14, 10));
    for (auto [which, name] : {std::pair{DlpModelOperateWidget::Scale, "panel_scale"},
                               std::pair{DlpModelOperateWidget::Rorate, "panel_rotate"},
                               std::pair{DlpModelOperateWidget::Layout, "panel_layout"}}) {
        pressToolButton(*window, which);
        QTest::qWait(100);
        EXPECT_TRUE(window->grab().save(screenshotPath(QLatin1String(name))));
    }
    window->dlpMenuBar()->action(QStringLiteral("model_infos"))->trigger();
    QTest::qWait(100);
    EXPECT_TRUE(window->grab().save(screenshotPath(QStringLiteral("panel_model_list"))));
    BasicModelCreateWidget basic(window->app());
    basic.show();
    EXPECT_TRUE(basic.grab().save(screenshotPath(QStringLiteral("dialog_basic_model"))));
    LanguageChooser chooser(QStringLiteral("en"));
    chooser.show();
    EXPECT_TRUE(chooser.grab().save(screenshotPath(QStringLiteral("dialog_language"))));
    closeWindow(window);
}

} // namespace

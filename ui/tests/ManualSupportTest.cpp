#include "UiTestSupport.h"

#include "app/DlpConfigAccuracyForm.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "io/DModelIoManager.h"
#include "render/COrvaneFrame.h"
#include "render/DRenderHost.h"
#include "render/DSupportEditHandle.h"
#include "render/DSupportEditor.h"
#include "render/DViewInput.h"
#include "render/GLBox.h"
#include "render/GlMath.h"
#include "supports/DsCylider.h"
#include "testsupport/TestFiles.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DSupportWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpModelOperateWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{

using Button = DlpModelOperateWidget::Button;

// The slice outlines of a work package: per layer its height and closed paths.
struct Layer {
    float z = 0;
    std::vector<std::vector<std::pair<float, float>>> paths;
};

std::vector<Layer> packageLayers(const QByteArray &b)
{
    constexpr int recordsStart = 590134;
    auto floatAt = [&b](int offset) {
        const quint32 bits = qFromLittleEndian<quint32>(b.constData() + offset);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    };
    auto intAt = [&b](int offset) { return qFromLittleEndian<qint32>(b.constData() + offset); };
    std::vector<Layer> layers;
    int pos = recordsStart;
    while (pos + 8 <= b.size()) {
        Layer layer;
        layer.z = floatAt(pos);
        const int paths = intAt(pos + 4);
        pos += 8;
        for (int p = 0; p < paths && pos + 4 <= b.size(); ++p) {
            const int n = intAt(pos);
            pos += 4;
            layer.paths.emplace_back();
            for (int k = 0; k < n && pos + 8 <= b.size(); ++k, pos += 8)
                layer.paths.back().emplace_back(floatAt(pos), floatAt(pos + 4));
        }
        layers.push_back(layer);
    }
    return layers;
}

// True when some path of the layer lies wholly within `radius` of (x, y): the section of a rod
// standing there.
bool holdsSectionAt(const Layer &layer, float x, float y, float radius)
{
    for (const auto &path : layer.paths) {
        if (path.size() < 3)
            continue;
        bool inside = true;
        for (const auto &p : path)
            inside = inside && std::hypot(p.first - x, p.second - y) <= radius;
        if (inside)
            return true;
    }
    return false;
}

int rodCount(const Model &model)
{
    int n = 0;
    for (const auto &part : model.manualSupports().parts)
        n += std::dynamic_pointer_cast<DsCylider>(part) != nullptr;
    return n;
}

class ManualSupport : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        qputenv("RESINOR_DISCOVERY_TARGET", "127.0.0.1");
        m_userFolder = uitest::isolatedUserFolder();
        QSettings().setValue(QStringLiteral("enableCheckNewVersion"), false);
        ASSERT_TRUE(m_files.isValid());
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    }
    // The settings belong to the whole test program.
    void TearDown() override { QSettings().remove(QStringLiteral("enableCheckNewVersion")); }

    std::unique_ptr<CDlpMainWindow> startWith(const QStringList &files)
    {
        auto window =
            std::make_unique<CDlpMainWindow>(files, nullptr, m_userFolder, uitest::programFolder());
        window->showNormal();
        window->setGeometry(0, 0, 1280, 800);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        DlpOrvaneApp *app = window->app();
        for (int i = 0; i < 200 && !files.isEmpty() &&
                        (app->scene().models().empty() || app->getImportManager()->isLoading());
             ++i)
            QTest::qWait(25);
        uitest::settle();
        window->glBox()->grabFramebuffer();
        window->activateWindow();
        return window;
    }

    QString writeBox(const QString &name, float x, float y, float z)
    {
        const QString path = m_files.filePath(name);
        testsupport::writeFile(path,
                               testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, x, y, z)));
        return path;
    }

    static DSupportWindow *openPanel(CDlpMainWindow &w)
    {
        QTest::mouseClick(w.mainWindow()->toolStrip()->button(Button::JewelrySupport),
                          Qt::LeftButton);
        uitest::settle();
        return qobject_cast<DSupportWindow *>(w.mainWindow()->panel(Button::JewelrySupport));
    }

    static Orvane3Ds::COrvaneFrame *frameOf(CDlpMainWindow &w)
    {
        return w.renderHost()->engine().frame().get();
    }

    // The widget pixel that shows the platform point p.
    static QPoint pixelOf(CDlpMainWindow &w, const Vec3f &p)
    {
        GLBox *view = w.glBox();
        const Vec3f ndc = Orvane3Ds::projectPoint(frameOf(w)->viewProjection(), p);
        return {int(std::lround((ndc.x + 1.0f) * 0.5f * view->width())),
                view->height() - 1 - int(std::lround((ndc.y + 1.0f) * 0.5f * view->height()))};
    }

    static void moveTo(CDlpMainWindow &w, const QPoint &at)
    {
        QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.glBox(), &move);
    }

    // What a user does to put a rod end at a spot: point at it, then click.
    static void clickAt(CDlpMainWindow &w, const Vec3f &p, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint at = pixelOf(w, p);
        moveTo(w, at);
        QTest::mouseClick(w.glBox(), button, Qt::NoModifier, at);
        uitest::settle();
    }

    // A right drag upwards: the camera goes below the platform and looks up at the model.
    static void lookFromBelow(CDlpMainWindow &w)
    {
        GLBox *view = w.glBox();
        const QPoint from(view->width() / 2, view->height() / 2);
        QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, from);
        for (int i = 1; i <= 5; ++i) {
            QMouseEvent move(QEvent::MouseMove, from - QPoint(0, 30 * i), Qt::NoButton,
                             Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        }
        QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, from - QPoint(0, 150));
        uitest::settle();
    }

    static void typeInto(QLineEdit *field, const QString &text)
    {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        uitest::settle();
    }

    // Middle drags until the view's centre comes to the model's bottom (the camera pans in
    // steps of about 1.2 mm per 9 pixels).
    static void panToModel(CDlpMainWindow &w, const Vec3f &target)
    {
        GLBox *view = w.glBox();
        const QPoint centre(view->width() / 2, view->height() / 2);
        // Which way the view follows the mouse is found by trying.
        int signX = -1;
        int signY = -1;
        QPoint off = pixelOf(w, target) - centre;
        for (int i = 0; i < 120 && (std::abs(off.x()) >= 12 || std::abs(off.y()) >= 12); ++i) {
            const QPoint step(std::abs(off.x()) >= 12 ? (off.x() > 0 ? 9 : -9) * signX : 0,
                              std::abs(off.y()) >= 12 ? (off.y() > 0 ? 9 : -9) * signY : 0);
            QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, centre);
            QMouseEvent move(QEvent::MouseMove, centre + step, Qt::NoButton, Qt::MiddleButton,
                             Qt::NoModifier);
            QApplication::sendEvent(view, &move);
            QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, centre + step);
            const QPoint now = pixelOf(w, target) - centre;
            if (step.x() != 0 && std::abs(now.x()) > std::abs(off.x()))
                signX = -signX;
            if (step.y() != 0 && std::abs(now.y()) > std::abs(off.y()))
                signY = -signY;
            off = now;
        }
        uitest::settle();
    }

    static void wheel(CDlpMainWindow &w, int notches)
    {
        GLBox *view = w.glBox();
        const QPoint at(view->width() / 2, view->height() / 2);
        for (int i = 0; i < notches; ++i) {
            QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view, &event);
        }
        uitest::settle();
    }

    // Opens the panel, turns on "Grow from the ground", starts editing and lifts the model to
    // 5 mm by the Height field; the camera then looks up from below the platform.
    DSupportWindow *startEditing(CDlpMainWindow &w, const Vec3f &modelBottom)
    {
        panToModel(w, modelBottom);
        DSupportWindow *panel = openPanel(w);
        EXPECT_TRUE(panel && panel->isVisible());
        if (!panel)
            return nullptr;
        EXPECT_FALSE(panel->platformPriorBox()->isEnabled());
        QTest::mouseClick(panel->growFromFloorBox(), Qt::LeftButton);
        EXPECT_TRUE(panel->platformPriorBox()->isEnabled());
        QTest::mouseClick(panel->editButton(), Qt::LeftButton);
        uitest::settle();
        EXPECT_TRUE(panel->isEditing());
        EXPECT_EQ(panel->editButton()->text(), QStringLiteral("End editing supports"));
        typeInto(panel->field(DSupportWindow::MoveUpHeight), QStringLiteral("5"));
        lookFromBelow(w);
        const float extent = panel->handle().editor()->orthoExtent();
        wheel(w, 6);
        EXPECT_FLOAT_EQ(panel->handle().editor()->orthoExtent(), extent - 36.0f)
            << "the wheel narrows the editor's view by 6 mm a notch";
        return panel;
    }

    QString m_userFolder;
    QTemporaryDir m_files;
};

TEST_F(ManualSupport, rodsFromThePlatformToTheModelArePrintedSavedAndUndone)
{
    auto window = startWith({writeBox(QStringLiteral("box.stl"), 12, 10, 8)});
    ASSERT_EQ(window->app()->scene().models().size(), 1u);
    const auto model = window->app()->scene().models().front();
    model->recomputeBounds();
    const Box3f placed = model->boundingBox();
    DSupportWindow *panel =
        startEditing(*window, {placed.center().x, placed.center().y, placed.min.z});
    ASSERT_TRUE(panel);
    model->recomputeBounds();
    ASSERT_FLOAT_EQ(model->boundingBox().min.z, 5.0f) << "the Height field lifts the model";
    Orvane3Ds::COrvaneFrame *frame = frameOf(*window);
    EXPECT_TRUE(frame->editMode());
    auto editor = panel->handle().editor();
    ASSERT_EQ(frame->interactor(), editor);
    EXPECT_FALSE(window->dlpMenuBar()->isEnabled()) << "the window's other operations are off";

    const Vec3f centre = placed.center();
    // Rod 1: from the platform beside the model up to the middle of its bottom face.
    const Vec3f foot{placed.min.x - 4.0f, centre.y, 0.0f};
    const Vec3f under{centre.x - 2.0f, centre.y, 5.0f};
    clickAt(*window, foot);
    ASSERT_TRUE(editor->isPending());
    EXPECT_NEAR(editor->previewFirst()->centre().x, foot.x, 0.3f);
    EXPECT_EQ(editor->previewFirst()->centre().z, 0.0f);
    clickAt(*window, under);
    EXPECT_FALSE(editor->isPending());
    ASSERT_EQ(rodCount(*model), 1);
    ASSERT_TRUE(editor->selectedRod());
    EXPECT_NEAR(editor->selectedRod()->bottom()->centre().z, 5.0f, 1e-3f);
    EXPECT_NEAR(panel->field(DSupportWindow::TopZ)->text().toFloat(), 5.0f, 1e-3f)
        << "the panel shows the placed rod";
    EXPECT_EQ(panel->field(DSupportWindow::BottomZ)->text(), QStringLiteral("0"));

    // Rod 2: a middle press gives the platform priority, so a click under the model starts on
    // the platform; a second middle press takes it back and the next click ends on the model.
    const Vec3f spot{centre.x + 3.0f, centre.y, 5.0f};
    clickAt(*window, spot, Qt::MiddleButton);
    EXPECT_TRUE(editor->platformPrior());
    EXPECT_TRUE(panel->platformPriorBox()->isChecked());
    clickAt(*window, spot);
    ASSERT_TRUE(editor->isPending());
    EXPECT_EQ(editor->previewFirst()->centre().z, 0.0f) << "begun on the platform";
    clickAt(*window, spot, Qt::MiddleButton);
    EXPECT_FALSE(editor->platformPrior());
    clickAt(*window, spot);
    EXPECT_FALSE(editor->isPending());
    ASSERT_EQ(rodCount(*model), 2);
    const auto second = editor->selectedRod();
    ASSERT_TRUE(second);
    EXPECT_NEAR(second->bottom()->centre().x, spot.x, 0.3f);
    EXPECT_NEAR(second->bottom()->centre().z, 5.0f, 1e-3f);

    // A picture of the editor with its two rods, for a reviewer, the view turned a little so
    // that the second rod (drawn along the line of sight) shows.
    {
        GLBox *view = window->glBox();
        const QPoint from(view->width() / 2, view->height() / 2);
        QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, from);
        for (int i = 1; i <= 5; ++i) {
            QMouseEvent move(QEvent::MouseMove, from + QPoint(25 * i, 0), Qt::NoButton,
                             Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        }
        QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, from + QPoint(125, 0));
        moveTo(*window, pixelOf(*window, {centre.x, centre.y, 5.0f}));
        uitest::settle();
    }
    window->glBox()->update();
    QTest::qWait(150);
    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("screenshots"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/manual_support_editor.png")));

    // Delete goes to the selected rod, not to the model being edited.
    QTest::keyClick(window->glBox(), Qt::Key_Delete);
    uitest::settle();
    EXPECT_EQ(window->app()->scene().models().size(), 1u);
    EXPECT_EQ(rodCount(*model), 1);
    EXPECT_FALSE(editor->selectedRod());

    // Choosing another panel ends the editing; the rod stays.
    QTest::mouseClick(window->mainWindow()->toolStrip()->button(Button::Layout), Qt::LeftButton);
    uitest::settle();
    EXPECT_FALSE(panel->isEditing());
    EXPECT_FALSE(frame->editMode());
    EXPECT_TRUE(window->dlpMenuBar()->isEnabled());
    EXPECT_EQ(rodCount(*model), 1);

    // Undo brings the deleted rod back, redo takes it again, undo once more for the package.
    QAction *undo = window->dlpMenuBar()->action(QStringLiteral("undo"));
    QAction *redo = window->dlpMenuBar()->action(QStringLiteral("redo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Remove Supports"));
    undo->trigger();
    uitest::settle();
    EXPECT_EQ(rodCount(*model), 2);
    redo->trigger();
    uitest::settle();
    EXPECT_EQ(rodCount(*model), 1);
    undo->trigger();
    uitest::settle();
    ASSERT_EQ(rodCount(*model), 2);
    ASSERT_EQ(model->manualSupports().parts.size(), 6u);

    // The work package holds both rods' sections below the model.
    const QString packages = m_files.filePath(QStringLiteral("packages"));
    ASSERT_TRUE(QDir().mkpath(packages));
    window->app()->setAccuracyFormRunner([](DlpConfigAccuracyForm &form) {
        form.cbAccuracy()->setCurrentText(QStringLiteral("0.05"));
        QTest::keyClicks(form.lePrefix(), QStringLiteral("rods"));
        form.onOK();
        return form.result() == QDialog::Accepted;
    });
    window->app()->setDirectoryChooser([packages](QWidget *, const QString &) { return packages; });
    QSignalSpy finished(window->app(), &DlpOrvaneApp::printDataFinished);
    {
        uitest::MessageBoxAnswerer answerer;
        window->dlpMenuBar()->action(QStringLiteral("exportVxpr"))->trigger();
        for (int i = 0; i < 3000 && finished.isEmpty(); ++i)
            finished.wait(10);
        window->app()->waitForPrintData();
        uitest::settle();
    }
    ASSERT_FALSE(finished.isEmpty());
    ASSERT_TRUE(finished.first().at(1).toBool()) << qPrintable(finished.first().at(2).toString());
    const std::vector<Layer> layers =
        packageLayers(testsupport::readFile(finished.first().at(0).toString()));
    std::shared_ptr<DsCylider> rods[2];
    int r = 0;
    for (const auto &part : model->manualSupports().parts)
        if (auto rod = std::dynamic_pointer_cast<DsCylider>(part))
            rods[r++] = rod;
    int checked = 0;
    for (const Layer &layer : layers) {
        if (layer.z < 1.0f || layer.z > 4.0f)
            continue;
        for (const auto &rod : rods) {
            const Vec3f a = rod->top()->centre();
            const Vec3f b = rod->bottom()->centre();
            const float s = (layer.z - a.z) / (b.z - a.z);
            const Vec3f at = a + (b - a) * s;
            EXPECT_TRUE(holdsSectionAt(layer, at.x, at.y, 1.5f))
                << "layer " << layer.z << " misses the rod at " << at.x << ", " << at.y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);

    // A saved project gives both rods back.
    const QString project = m_files.filePath(QStringLiteral("rods.vxpj"));
    window->mainWindow()->setSaveFileNameProvider(
        [&](const QString &, const QString &, const QString &) { return project; });
    {
        uitest::MessageBoxAnswerer answerer;
        window->dlpMenuBar()->action(QStringLiteral("exportVxpj"))->trigger();
        uitest::settle();
    }
    auto reopened = startWith({project});
    ASSERT_EQ(reopened->app()->scene().models().size(), 1u);
    const auto loaded = reopened->app()->scene().models().front();
    ASSERT_EQ(rodCount(*loaded), 2);
    std::vector<Vec3f> ends;
    for (const auto &part : loaded->manualSupports().parts)
        if (auto rod = std::dynamic_pointer_cast<DsCylider>(part)) {
            ends.push_back(rod->bottom()->centre());
            EXPECT_TRUE(rod->colour() == DsCylider::kPlacedColour) << "drawn as when placed";
            EXPECT_TRUE(rod->bottom()->colour() == DsPoint::kPlacedColour);
        }
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(ends[i].x, rods[i]->bottom()->centre().x, 1e-4f);
        EXPECT_NEAR(ends[i].z, rods[i]->bottom()->centre().z, 1e-4f);
    }

    uitest::MessageBoxAnswerer answerer(QStringLiteral("No"));
    EXPECT_TRUE(reopened->close());
    EXPECT_TRUE(window->close()) << "the close question covers the rods";
    EXPECT_EQ(answerer.count(), 2);
}

} // namespace

TEST_F(ManualSupport, limitToZDropsTheRodAndALoadOrTheCloseQuestionKeepsIt)
{
    auto window = startWith({writeBox(QStringLiteral("box.stl"), 12, 10, 8)});
    ASSERT_EQ(window->app()->scene().models().size(), 1u);
    const auto model = window->app()->scene().models().front();
    model->recomputeBounds();
    const Box3f placed = model->boundingBox();
    DSupportWindow *panel =
        startEditing(*window, {placed.center().x, placed.center().y, placed.min.z});
    ASSERT_TRUE(panel);
    QTest::mouseClick(panel->limitAtZAxisBox(), Qt::LeftButton);
    EXPECT_TRUE(panel->settings().limitAtZAxis);
    auto editor = panel->handle().editor();
    const Vec3f under{placed.center().x, placed.center().y, 5.0f};
    clickAt(*window, under);
    ASSERT_TRUE(editor->isPending());
    // Wherever the mouse goes, the second end stays below the first, on the platform.
    clickAt(*window, under + Vec3f{6.0f, 0.0f, 0.0f});
    ASSERT_EQ(rodCount(*model), 1);
    const auto rod = editor->selectedRod();
    ASSERT_TRUE(rod);
    EXPECT_NEAR(rod->bottom()->centre().x, rod->top()->centre().x, 1e-5f);
    EXPECT_NEAR(rod->bottom()->centre().y, rod->top()->centre().y, 1e-5f);
    EXPECT_EQ(rod->bottom()->centre().z, 0.0f);

    // The selected rod follows the typed numbers; an emptied field changes nothing.
    typeInto(panel->field(DSupportWindow::RodBottomRadius), QStringLiteral("0.5"));
    EXPECT_EQ(rod->bottomRadius(), 0.5f);
    typeInto(panel->field(DSupportWindow::BottomZ), QStringLiteral("9"));
    EXPECT_EQ(rod->bottom()->centre().z, 9.0f) << "the lower end takes the bottom point";
    typeInto(panel->field(DSupportWindow::BottomZ), QString());
    EXPECT_EQ(rod->bottom()->centre().z, 9.0f);
    // The end typed above the other one shows as the top point once the rod is selected.
    panel->OnUpdateObjectInfo(rod);
    EXPECT_EQ(panel->field(DSupportWindow::TopZ)->text(), QStringLiteral("9"));
    EXPECT_EQ(panel->field(DSupportWindow::BottomZ)->text(), QStringLiteral("5"));
    // Without "Grow from the ground" the platform cannot be given priority.
    QTest::mouseClick(panel->growFromFloorBox(), Qt::LeftButton);
    EXPECT_FALSE(panel->platformPriorBox()->isEnabled());
    QTest::mouseClick(panel->platformPriorBox(), Qt::LeftButton);
    EXPECT_FALSE(panel->platformPriorBox()->isChecked());
    EXPECT_FALSE(editor->platformPrior());

    // Closing asks first; cancelled, the window and the rod stay, editing goes on.
    {
        uitest::MessageBoxAnswerer answerer(QStringLiteral("Cancel"));
        EXPECT_FALSE(window->close());
        EXPECT_EQ(answerer.count(), 1);
    }
    EXPECT_TRUE(panel->isEditing());
    EXPECT_EQ(rodCount(*model), 1);

    // A file dropped meanwhile comes into the scene; the editing ends and the rod stays.
    window->mainWindow()->openFiles({writeBox(QStringLiteral("second.stl"), 6, 6, 6)});
    for (int i = 0; i < 200 && window->app()->scene().models().size() < 2; ++i)
        QTest::qWait(25);
    window->app()->getImportManager()->waitForIdle();
    uitest::settle();
    ASSERT_EQ(window->app()->scene().models().size(), 2u);
    EXPECT_FALSE(panel->isEditing());
    EXPECT_FALSE(frameOf(*window)->editMode());
    EXPECT_EQ(rodCount(*model), 1);
    EXPECT_EQ(panel->editButton()->text(), QStringLiteral("Begin editing supports"));

    uitest::MessageBoxAnswerer answerer(QStringLiteral("No"));
    EXPECT_TRUE(window->close());
}

TEST_F(ManualSupport, closingWhileEditingAsksAndEnds)
{
    auto window = startWith({writeBox(QStringLiteral("box.stl"), 12, 10, 8)});
    const auto model = window->app()->scene().models().front();
    model->recomputeBounds();
    const Box3f placed = model->boundingBox();
    DSupportWindow *panel =
        startEditing(*window, {placed.center().x, placed.center().y, placed.min.z});
    ASSERT_TRUE(panel);
    clickAt(*window, {placed.min.x - 4.0f, placed.center().y, 0.0f});
    clickAt(*window, {placed.center().x, placed.center().y, 5.0f});
    ASSERT_EQ(rodCount(*model), 1);
    uitest::MessageBoxAnswerer answerer(QStringLiteral("No"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(answerer.texts(), QStringList{QStringLiteral("Save Model?")});
    window.reset();
}

namespace
{

class ManualSupportTexts : public ManualSupport, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(ManualSupportTexts, areTranslatedInThePanel)
{
    const QString lang = QLatin1String(GetParam());
    ASSERT_TRUE(uitest::useLanguage(lang));
    auto window = startWith({writeBox(QStringLiteral("box.stl"), 10, 10, 10)});
    DSupportWindow *panel = openPanel(*window);
    ASSERT_TRUE(panel);
    const QStringList keys{"Form",
                           "jewSupportLabel",
                           "isLimitAtZAxis",
                           "isGrowFromFloor",
                           "isChoosePlatform",
                           "topBallRadius",
                           "bottomBallRadius",
                           "topRadius",
                           "bottomRadius",
                           "MoveUpValue",
                           "VectexZMax",
                           "VectexZMin",
                           "beginEditSupport"};
    QStringList texts{panel->windowTitle()};
    for (QWidget *w : panel->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
    }
    const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    for (const QString &text : texts) {
        EXPECT_FALSE(keys.contains(text)) << qPrintable(text);
        if (lang == QLatin1String("zh")) {
            EXPECT_FALSE(word.match(text).hasMatch()) << qPrintable(text);
        }
    }
    EXPECT_EQ(panel->editButton()->text(), lang == QLatin1String("en")
                                               ? QStringLiteral("Begin editing supports")
                                               : QStringLiteral("开始编辑支撑"));
    ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    uitest::MessageBoxAnswerer answerer(QStringLiteral("No"));
    window->close();
}

INSTANTIATE_TEST_SUITE_P(DSupportWindow, ManualSupportTexts, ::testing::Values("en", "zh"));

} // namespace

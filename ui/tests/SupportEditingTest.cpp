// The support panel in the real window: editing overhang points in the view, the ways a session
// ends, undo and redo of support changes, cancelling a generate job and the parameter dialog.
#include "UiTestSupport.h"

#include "app/CSupportApp.h"
#include "app/CommandStack.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "io/DIoVXPJ.h"
#include "io/DModelIoManager.h"
#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/CRenderEngine.h"
#include "render/DRenderHost.h"
#include "render/GLBox.h"
#include "render/GlMath.h"
#include "render/OverhangEditor.h"
#include "testsupport/TestFiles.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpModelOperateWidget.h"
#include "ui/DlpProccessBar.h"
#include "ui/DlpSupportWidget.h"
#include "ui/SdSupportConfigFiles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace
{

using Button = DlpModelOperateWidget::Button;

template <typename T> QByteArray rawBytes(const std::vector<T> &values)
{
    return QByteArray(reinterpret_cast<const char *>(values.data()),
                      static_cast<int>(values.size() * sizeof(T)));
}

template <typename T> QByteArray rawBytes(const T &value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), static_cast<int>(sizeof(T)));
}

// Every bit of a model's geometry, its overhang points and its generated supports.
struct Geometry {
    QByteArray model, points, supports;
    std::size_t pointCount = 0, partCount = 0;

    static Geometry of(const Model &m)
    {
        Geometry g;
        g.model = rawBytes(m.vertices()) + rawBytes(m.faceNormals());
        for (const auto &point : m.overhangs()) {
            g.points += rawBytes(point->position()) + rawBytes(point->direction()) +
                        rawBytes(point->vertices());
            ++g.pointCount;
        }
        if (m.support())
            for (const auto &part : m.support()->parts) {
                g.supports += rawBytes(part->vertices()) + rawBytes(part->faces());
                ++g.partCount;
            }
        return g;
    }
    bool operator==(const Geometry &o) const
    {
        return model == o.model && points == o.points && supports == o.supports;
    }
};

float lowestZ(const std::shared_ptr<Model> &model)
{
    model->recomputeBounds();
    return model->boundingBox().min.z;
}

class SupportEditing : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        qputenv("RESINOR_DISCOVERY_TARGET", "127.0.0.1");
        qputenv("RESINOR_DISCOVERY_PORT", "0");
        m_userFolder = uitest::isolatedUserFolder();
        QSettings().setValue(QStringLiteral("enableCheckNewVersion"), false);
        ASSERT_TRUE(m_files.isValid());
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    }

    void TearDown() override
    {
        DlpSupportWidget::setSaveFileNameProvider({});
        if (m_window) {
            uitest::MessageBoxAnswerer answerer(QStringLiteral("No"));
            m_window->close();
            m_window.reset();
        }
        // The settings belong to the whole test program.
        QSettings().remove(QStringLiteral("enableCheckNewVersion"));
    }

    QString writeBox(const QString &name, float x, float y, float z)
    {
        const QString path = m_files.filePath(name);
        testsupport::writeFile(path,
                               testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, x, y, z)));
        return path;
    }

    // The window started with a part on the command line, its support panel open with the
    // medium profile chosen.
    void start(const QString &part)
    {
        m_window = std::make_unique<CDlpMainWindow>(QStringList{part}, nullptr, m_userFolder,
                                                    uitest::programFolder());
        m_window->showNormal();
        m_window->setGeometry(0, 0, 1280, 800);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        waitForLoad();
        ASSERT_EQ(app()->scene().models().size(), 1u);
        m_window->glBox()->grabFramebuffer();
        QTest::mouseClick(main()->toolStrip()->button(Button::Support), Qt::LeftButton);
        uitest::settle();
        m_panel = qobject_cast<SdSupportConfigFiles *>(main()->panel(Button::Support));
        ASSERT_TRUE(m_panel);
        ASSERT_TRUE(m_panel->isVisible());
        choose(QStringLiteral("medium.ini"));
        ASSERT_TRUE(m_panel->parametersValid());
    }

    void waitForLoad()
    {
        for (int i = 0;
             i < 400 && (app()->scene().models().empty() || app()->getImportManager()->isLoading());
             ++i)
            QTest::qWait(25);
        uitest::settle();
    }

    void choose(const QString &file)
    {
        QComboBox *list = m_panel->profileList();
        const int index = list->findText(file);
        ASSERT_GT(index, 0) << qPrintable(file);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    DlpOrvaneApp *app() const { return m_window->app(); }
    DlpMainWindow *main() const { return m_window->mainWindow(); }
    Orvane3Ds::CSupportApp &support() const { return app()->supportApp(); }
    Orvane3Ds::COrvaneFrame *frame() const
    {
        return m_window->renderHost()->engine().frame().get();
    }
    std::shared_ptr<Model> model() const { return app()->scene().models().front(); }
    std::size_t undoDepth() const { return app()->commandStack().undoList().size(); }
    QAction *action(const char *key) const
    {
        return m_window->dlpMenuBar()->action(QLatin1String(key));
    }

    void clickButton(QPushButton *button)
    {
        ASSERT_TRUE(button->isEnabled()) << qPrintable(button->text());
        QTest::mouseClick(button, Qt::LeftButton);
        support().waitForJob();
        uitest::settle();
    }

    // Starts editing from the edit button and turns the camera to look at the model from below.
    void beginEditing()
    {
        clickButton(m_panel->editButton());
        ASSERT_TRUE(support().isEditing());
        frame()->homeView();
        frame()->pitchBy(-90.0f);
        frame()->settleView();
        m_window->glBox()->grabFramebuffer();
    }

    QPoint pixelOf(const Vec3f &world) const
    {
        GLBox *view = m_window->glBox();
        const Vec3f ndc = Orvane3Ds::projectPoint(frame()->viewProjection(), world);
        const int x = static_cast<int>(std::lround((ndc.x + 1.0f) * 0.5f * view->width()));
        const int y = view->height() - 1 -
                      static_cast<int>(std::lround((ndc.y + 1.0f) * 0.5f * view->height()));
        return {x, y};
    }

    void clickView(const Vec3f &world)
    {
        const QPoint at = pixelOf(world);
        QTest::mouseMove(m_window->glBox(), at);
        QTest::mouseClick(m_window->glBox(), Qt::LeftButton, Qt::NoModifier, at);
        uitest::settle();
    }

    // A spot on the underside of the edited model, `fraction` of the way along x.
    Vec3f underside(float fraction) const
    {
        auto m = model();
        m->recomputeBounds();
        const Box3f b = m->boundingBox();
        return {b.min.x + (b.max.x - b.min.x) * fraction, (b.min.y + b.max.y) / 2.0f, b.min.z};
    }

    QString m_userFolder;
    QTemporaryDir m_files;
    std::unique_ptr<CDlpMainWindow> m_window;
    SdSupportConfigFiles *m_panel = nullptr;
};

TEST_F(SupportEditing, pointsAreAddedAndRemovedInTheViewAndTheSessionIsOneUndoStep)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    const auto m = model();
    const Geometry before = Geometry::of(*m);
    const std::size_t depth = undoDepth();

    beginEditing();
    EXPECT_EQ(frame()->interactor(), m_panel->overhangEditor());
    EXPECT_TRUE(frame()->editMode());
    EXPECT_EQ(frame()->context()->projection[15], 1.0f) << "orthographic while editing";
    EXPECT_FLOAT_EQ(lowestZ(m), 5.0f) << "lifted to the support height";
    EXPECT_FALSE(main()->toolStrip()->isEnabled());

    clickView(underside(0.25f));
    clickView(underside(0.75f));
    ASSERT_EQ(m->overhangs().size(), 2u);
    EXPECT_EQ(frame()->overhangMarkers().size(), 2u);
    const auto first = m->overhangs().front();
    clickView(first->position() + Vec3f{0.0f, 0.0f, -0.2f});
    ASSERT_EQ(m->overhangs().size(), 1u) << "a click on a marker removes its point";
    EXPECT_NE(m->overhangs().front(), first);
    EXPECT_EQ(undoDepth(), depth) << "single points are no undo steps of their own";
    EXPECT_FALSE(app()->undoCommand()) << "no undo while points are edited";

    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("screenshots"));
    ASSERT_TRUE(QDir().mkpath(folder));
    m_window->glBox()->grabFramebuffer();
    EXPECT_TRUE(m_window->grab().save(folder + QStringLiteral("/support_editing_en.png")));

    clickButton(m_panel->editButton());
    EXPECT_FALSE(support().isEditing());
    EXPECT_NE(frame()->interactor(), m_panel->overhangEditor());
    EXPECT_FALSE(frame()->editMode());
    EXPECT_EQ(frame()->context()->projection[15], 0.0f) << "perspective again";
    ASSERT_TRUE(m->support());
    EXPECT_FALSE(m->support()->parts.empty());
    EXPECT_EQ(m->overhangs().size(), 1u);
    EXPECT_EQ(m_panel->editButton()->text(), QStringLiteral("Edit support"));
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Remove supports"));
    EXPECT_TRUE(main()->toolStrip()->isEnabled());
    ASSERT_EQ(undoDepth(), depth + 1);
    EXPECT_STREQ(app()->commandStack().undoName(), "AddSupport");
    const Geometry after = Geometry::of(*m);

    ASSERT_TRUE(action("undo")->isEnabled());
    action("undo")->trigger();
    uitest::settle();
    EXPECT_TRUE(Geometry::of(*m) == before) << "undo takes the whole session back";
    EXPECT_FLOAT_EQ(lowestZ(m), 0.0f);
    action("redo")->trigger();
    uitest::settle();
    EXPECT_TRUE(Geometry::of(*m) == after) << "redo gives the session's supports back";
}

TEST_F(SupportEditing, generateUndoRedoAreBitIdenticalAndRemoveUndoRestores)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    const auto m = model();
    const Geometry bare = Geometry::of(*m);
    clickButton(m_panel->generateButton());
    ASSERT_TRUE(m->support());
    const Geometry generated = Geometry::of(*m);
    EXPECT_GT(generated.pointCount, 0u);
    EXPECT_GT(generated.partCount, 0u);

    action("undo")->trigger();
    uitest::settle();
    EXPECT_TRUE(Geometry::of(*m) == bare);
    action("redo")->trigger();
    uitest::settle();
    EXPECT_TRUE(Geometry::of(*m) == generated);
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Remove supports"));

    {
        uitest::MessageBoxAnswerer answerer(QStringLiteral("OK"));
        clickButton(m_panel->generateButton());
        ASSERT_EQ(answerer.count(), 1);
    }
    EXPECT_FALSE(m->support());
    EXPECT_TRUE(m->overhangs().empty());
    EXPECT_FLOAT_EQ(lowestZ(m), 0.0f);
    EXPECT_STREQ(app()->commandStack().undoName(), "RemoveSupport");
    action("undo")->trigger();
    uitest::settle();
    EXPECT_TRUE(Geometry::of(*m) == generated) << "undo of the remove restores the supports";
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Remove supports"));
}

TEST_F(SupportEditing, cancellingTheGenerateJobLeavesTheModelExactlyAsBefore)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    const auto m = model();
    const Geometry before = Geometry::of(*m);
    const std::size_t depth = undoDepth();
    // The job's first report waits until the user has pressed cancel in the progress window,
    // so that the press comes while the job runs however fast it is.
    DlpOrvaneApp *a = app();
    auto pressed = std::make_shared<std::atomic<bool>>(false);
    a->setProgressCallback([a, pressed](int percent, const QString &stage, bool) {
        DlpProccessBar::instance()->report(stage, percent, !a->isCancelled());
        for (int i = 0; i < 500 && !pressed->load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    QTest::mouseClick(m_panel->generateButton(), Qt::LeftButton);
    DlpProccessBar *bar = DlpProccessBar::instance();
    for (int i = 0; i < 200 && !(bar->isVisible() && bar->cancelButton()->isVisible()); ++i)
        QTest::qWait(10);
    ASSERT_TRUE(bar->isVisible()) << "a progress window is shown";
    ASSERT_TRUE(bar->cancelButton()->isVisible());
    EXPECT_TRUE(support().isBusy());
    QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
    *pressed = true;
    support().waitForJob();
    uitest::settle();
    EXPECT_EQ(support().lastError(), QStringLiteral("Canceled"));
    EXPECT_TRUE(Geometry::of(*m) == before) << "nothing of the job stays";
    EXPECT_FALSE(m->support());
    EXPECT_EQ(undoDepth(), depth) << "nothing is recorded";
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Generate supports"));
    EXPECT_TRUE(m_panel->generateButton()->isEnabled());
    EXPECT_TRUE(main()->toolStrip()->isEnabled());
}

TEST_F(SupportEditing, supportedModelWithThePanelOpenIsPhotographed)
{
    // A table: a slab on a pillar, so that the slab's underside needs supports.
    std::vector<testsupport::Triangle> table = testsupport::boxTriangles(12, 8, 0, 22, 16, 14);
    for (const auto &t : testsupport::boxTriangles(0, 0, 14, 34, 24, 18))
        table.push_back(t);
    const QString stl = m_files.filePath(QStringLiteral("table.stl"));
    testsupport::writeFile(stl, testsupport::binaryStl(table));
    start(stl);
    // The layout button's arrangement puts the part in the middle of the platform.
    app()->layoutModels(5);
    clickButton(m_panel->generateButton());
    const auto m = model();
    ASSERT_TRUE(m->support());
    EXPECT_GT(m->support()->parts.size(), 10u);
    frame()->homeView();
    frame()->zoomBy(130.0f);
    frame()->pressMiddle(0, 0);
    frame()->dragPan(0, -1300);
    frame()->pitchBy(10.0f);
    frame()->settleView();
    m_window->glBox()->grabFramebuffer();
    uitest::settle();
    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("screenshots"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QImage shot = m_window->grab().toImage();
    EXPECT_TRUE(shot.save(folder + QStringLiteral("/support_model_en.png")));
    EXPECT_TRUE(m_panel->isVisible());
}

// ---- leaving an editing session --------------------------------------------------------------

TEST_F(SupportEditing, choosingAnotherPanelEndsTheSessionKeepingThePoints)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    const auto m = model();
    const std::size_t depth = undoDepth();
    beginEditing();
    clickView(underside(0.5f));
    ASSERT_EQ(m->overhangs().size(), 1u);
    // What a press on another tool-strip button does.
    main()->addScaleWidget();
    support().waitForJob();
    uitest::settle();
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_FALSE(support().isEditing());
    EXPECT_FALSE(frame()->editMode());
    EXPECT_EQ(m->overhangs().size(), 1u);
    ASSERT_TRUE(m->support()) << "the edited point got its support";
    EXPECT_FALSE(m->support()->parts.empty());
    EXPECT_EQ(undoDepth(), depth + 1);
    EXPECT_TRUE(main()->toolStrip()->isEnabled());
}

TEST_F(SupportEditing, droppingAFileWhileEditingKeepsThePointsAndTheirSupports)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    const auto m = model();
    beginEditing();
    clickView(underside(0.5f));
    ASSERT_EQ(m->overhangs().size(), 1u);
    main()->openFiles({writeBox(QStringLiteral("second.stl"), 6, 6, 6)});
    waitForLoad();
    support().waitForJob();
    uitest::settle();
    ASSERT_EQ(app()->scene().models().size(), 2u);
    EXPECT_FALSE(support().isEditing());
    EXPECT_FALSE(frame()->editMode());
    EXPECT_EQ(m->overhangs().size(), 1u);
    ASSERT_TRUE(m->support());
    EXPECT_FALSE(m->support()->parts.empty());
    EXPECT_FLOAT_EQ(lowestZ(m), 5.0f);
    EXPECT_EQ(m_panel->editButton()->text(), QStringLiteral("Edit support"));
}

TEST_F(SupportEditing, closingWhileEditingAsksAndSavesTheEditedPoints)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    beginEditing();
    clickView(underside(0.3f));
    clickView(underside(0.7f));
    ASSERT_EQ(model()->overhangs().size(), 2u);
    {
        uitest::MessageBoxAnswerer answerer(QStringLiteral("Cancel"));
        EXPECT_FALSE(m_window->close());
        ASSERT_EQ(answerer.count(), 1);
        EXPECT_EQ(answerer.texts().first(), QStringLiteral("Save Model?"));
    }
    EXPECT_TRUE(support().isEditing()) << "Cancel goes on editing";
    EXPECT_EQ(model()->overhangs().size(), 2u);

    const QString project = m_files.filePath(QStringLiteral("edited.vxpj"));
    main()->setSaveFileNameProvider(
        [project](const QString &, const QString &, const QString &) { return project; });
    {
        uitest::MessageBoxAnswerer answerer(QStringLiteral("Yes"));
        EXPECT_TRUE(m_window->close());
        EXPECT_GE(answerer.count(), 1);
    }
    m_window.reset();
    const auto saved = Vxpj::loadProject(project);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.front()->overhangs().size(), 2u) << "the edited points are in the project";
}

// ---- the parameter dialog from the panel -----------------------------------------------------

TEST_F(SupportEditing, profileIsEditedAppliedAndSavedAsFromThePanel)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    // The test's own copy of the medium profile (the profile folder is the test program's).
    const QString dir = app()->userProfilesDir();
    const QString mine = QDir(dir).filePath(QStringLiteral("mine.ini"));
    const QString fine = QDir(dir).filePath(QStringLiteral("fine.ini"));
    QFile::remove(mine);
    QFile::remove(fine);
    ASSERT_TRUE(QFile::copy(QDir(dir).filePath(QStringLiteral("medium.ini")), mine));
    m_panel->refreshProfiles();
    choose(QStringLiteral("mine.ini"));
    ASSERT_TRUE(m_panel->parametersValid());
    auto openDialog = [this]() -> DlpSupportWidget * {
        QTest::mouseClick(m_panel->modifyButton(), Qt::LeftButton);
        uitest::settle();
        for (auto *d : m_window->findChildren<DlpSupportWidget *>())
            if (d->isVisible())
                return d;
        return nullptr;
    };
    auto retype = [](QLineEdit *edit, const QString &text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    };

    DlpSupportWidget *dialog = openDialog();
    ASSERT_TRUE(dialog);
    {
        // Values that would make generation run away are refused with the reason.
        uitest::MessageBoxAnswerer answerer;
        retype(dialog->field(DlpSupportWidget::SupportGaps), QStringLiteral("0.001"));
        QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
        ASSERT_EQ(answerer.count(), 1);
        EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("support gap")))
            << qPrintable(answerer.texts().first());
    }
    EXPECT_FALSE(m_panel->parametersValid());
    retype(dialog->field(DlpSupportWidget::SupportGaps), QStringLiteral("3"));
    retype(dialog->field(DlpSupportWidget::SupportHeight), QStringLiteral("4"));
    QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
    uitest::settle();
    EXPECT_TRUE(m_panel->parametersValid());
    EXPECT_EQ(support().parameters().supportGaps, 3.0f);
    EXPECT_EQ(support().parameters().supportHeight, 4.0f);
    EXPECT_EQ(QSettings(mine, QSettings::IniFormat)
                  .value(QStringLiteral("support/supportGaps"))
                  .toString(),
              QStringLiteral("3"));

    dialog = openDialog();
    ASSERT_TRUE(dialog);
    const QString elsewhere = m_files.filePath(QStringLiteral("other/fine.ini"));
    DlpSupportWidget::setSaveFileNameProvider(
        [elsewhere](const QString &, const QString &, const QString &) { return elsewhere; });
    retype(dialog->field(DlpSupportWidget::SupportGaps), QStringLiteral("1.5"));
    {
        uitest::MessageBoxAnswerer answerer;
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
        ASSERT_EQ(answerer.count(), 1);
        EXPECT_EQ(answerer.texts().first(), QStringLiteral("Support confirguration files saved "));
    }
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    ASSERT_TRUE(QFileInfo::exists(fine));
    EXPECT_EQ(QSettings(fine, QSettings::IniFormat)
                  .value(QStringLiteral("support/supportGaps"))
                  .toString(),
              QStringLiteral("1.5"));
    EXPECT_EQ(m_panel->profileList()->currentText(), QStringLiteral("fine.ini"));
    EXPECT_EQ(support().parameters().supportGaps, 1.5f);
    QTest::mouseClick(dialog->discardButton(), Qt::LeftButton);

    clickButton(m_panel->generateButton());
    ASSERT_TRUE(model()->support());
    EXPECT_FLOAT_EQ(lowestZ(model()), 4.0f);
    QFile::remove(mine);
    QFile::remove(fine);
}

TEST_F(SupportEditing, runawayProfileInTheListIsRefusedWithTheReason)
{
    start(writeBox(QStringLiteral("box.stl"), 12, 8, 6));
    testsupport::writeFile(QDir(app()->userProfilesDir()).filePath(QStringLiteral("tiny.ini")),
                           "[support]\nmethod=A\noverhangDiameter=0.6\nlinkPointDiameter=0.4\n"
                           "supportGaps=0.001\nsupportDiameter=0.8\nsupportHeight=5\n"
                           "supportBaseHeight=1.2\nsupportBaseExtern=2.5\nisHasSupports=false\n"
                           "isAddSupportBase=true\n");
    m_panel->refreshProfiles();
    choose(QStringLiteral("tiny.ini"));
    QFile::remove(QDir(app()->userProfilesDir()).filePath(QStringLiteral("tiny.ini")));
    EXPECT_FALSE(m_panel->parametersValid());
    EXPECT_TRUE(m_panel->profileList()->toolTip().contains(QStringLiteral("support gap")))
        << qPrintable(m_panel->profileList()->toolTip());
    uitest::MessageBoxAnswerer answerer;
    QTest::mouseClick(m_panel->generateButton(), Qt::LeftButton);
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_EQ(answerer.texts().first(),
              QStringLiteral("Support parameters is invalid, please modify the support "
                             "parameters!"));
    EXPECT_FALSE(support().isBusy());
    EXPECT_FALSE(model()->support());
}

} // namespace

#include "GlTestSupport.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DMoveModelInteractor.h"
#include "render/DRenderHost.h"
#include "render/DRotateModelInteractor.h"
#include "render/DViewInput.h"
#include "render/Excircle.h"
#include "render/GLBox.h"
#include "render/GlMath.h"
#include "render/OpenGLModel.h"
#include "render/OverhangEditor.h"
#include "render/ViewTurner.h"

#include "app/CommandStack.h"
#include "app/DSharedApp.h"
#include "app/EAppEvent.h"
#include "geometry/Model.h"
#include "geometry/Support.h"
#include "testsupport/SoupMesh.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace Orvane3Ds;

namespace
{

class TestApp : public DSharedApp
{
  public:
    QString languageCodeText() const override { return QStringLiteral("en"); }
    QString applicationName() const override { return QStringLiteral("Resinor"); }
    QString softwareVersionText() const override { return QStringLiteral("1.0.0.1"); }
    QString updateQueryAddressText() const override { return {}; }
};

QByteArray vertexBytes(const Mesh3D &mesh)
{
    return QByteArray(reinterpret_cast<const char *>(mesh.vertices().data()),
                      int(mesh.vertices().size() * sizeof(Point3f)));
}

// A real view: the application, its render host and the GL widget, shown under the X server,
// with the camera looking straight down onto the platform from close by.
class EditView : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        rendertest::useTestColours();
        m_host = std::make_unique<DRenderHost>(m_app);
        m_host->engine().setQuiet(true);
        m_box = std::make_unique<GLBox>(m_host.get());
        m_host->setView(m_box.get());
        m_box->resize(640, 480);
        m_box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_box.get()));
        m_box->grabFramebuffer();
        ASSERT_TRUE(m_box->isGlReady());
        m_app.subscribe(QStringLiteral("test"), [this](EAppEvent e, const QString &) {
            if (e == InsidePlatform || e == OutsidePlatform)
                m_boundsEvents.push_back(e);
        });
        frame().topViewReset();
        frame().zoomBy(100.0f);
        frame().zoomBy(100.0f);
        frame().settleView();
    }

    void TearDown() override
    {
        m_box.reset();
        m_host.reset();
    }

    COrvaneFrame &frame() { return *m_host->engine().frame(); }
    DScene &scene() { return m_app.scene(); }

    std::shared_ptr<Model> addBox(float x0, float y0, float x1, float y1, float height)
    {
        auto model = rendertest::boxModel(x0, y0, 0.0f, x1, y1, height);
        model->setSize(model->extent());
        m_app.addModelsToScene({model});
        m_box->grabFramebuffer();
        return model;
    }

    QPoint pixelOf(const Vec3f &world)
    {
        const Vec3f ndc = projectPoint(frame().viewProjection(), world);
        const int x = static_cast<int>(std::lround((ndc.x + 1.0f) * 0.5f * m_box->width()));
        const int y = m_box->height() - 1 -
                      static_cast<int>(std::lround((ndc.y + 1.0f) * 0.5f * m_box->height()));
        return {x, y};
    }

    // Where the ray under a pixel meets the platform plane z = 0.
    Vec3f planePoint(const QPoint &p)
    {
        const Ray ray = frame().pickRay(p.x(), p.y(), m_box->width(), m_box->height());
        return ray.origin + ray.direction * (-ray.origin.z / ray.direction.z);
    }

    void mouse(QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(p), m_box->mapToGlobal(p), button, buttons, modifiers);
        QApplication::sendEvent(m_box.get(), &event);
    }

    void click(const QPoint &p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
        mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
    }

    // Left drag from `from` to `to` in `steps` moves, drawing a frame after each.
    void drag(const QPoint &from, const QPoint &to, int steps = 8,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
        for (int i = 1; i <= steps; ++i) {
            const QPoint p = from + (to - from) * i / steps;
            mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, modifiers);
            m_box->grabFramebuffer();
        }
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    }

    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(m_box.get(), &event);
    }

    void useMoveTool() { m_host->input().install(m_host->input().moveInteractor(), 1); }
    DRotateModelInteractor &useRotateTool()
    {
        m_host->input().install(m_host->input().rotateInteractor(), 1);
        return *m_host->input().rotateInteractor();
    }

    TestApp m_app;
    std::unique_ptr<DRenderHost> m_host;
    std::unique_ptr<GLBox> m_box;
    std::vector<EAppEvent> m_boundsEvents;
};

// ---- click selection without a tool ------------------------------------------------------

TEST_F(EditView, clickSelectsTheModelUnderTheCursorAndClickingNothingClears)
{
    auto a = addBox(-30, -5, -20, 5, 8);
    auto b = addBox(10, -5, 20, 5, 8);
    scene().clearSelection();
    click(pixelOf({-25, 0, 8}));
    EXPECT_EQ(scene().selection(), DScene::ModelList{a});
    click(pixelOf({15, 0, 8}), Qt::ControlModifier);
    EXPECT_EQ(scene().selection().size(), 2u) << "Ctrl adds";
    click(pixelOf({-25, 0, 8}), Qt::ShiftModifier);
    EXPECT_EQ(scene().selection(), DScene::ModelList{b})
        << "Shift on a selected model takes it out";
    click(pixelOf({0, 20, 0}));
    EXPECT_TRUE(scene().selection().empty());
}

TEST_F(EditView, deleteKeyRemovesTheSelectedModelsAndUndoBringsThemBack)
{
    auto a = addBox(-30, -5, -20, 5, 8);
    auto b = addBox(10, -5, 20, 5, 8);
    scene().clearSelection();
    scene().select(b);
    key(Qt::Key_Delete);
    EXPECT_EQ(scene().models(), DScene::ModelList{a});
    EXPECT_FALSE(frame().drawableOf(b));
    ASSERT_TRUE(m_app.undoCommand());
    EXPECT_EQ(scene().models().size(), 2u);
    EXPECT_TRUE(frame().drawableOf(b)) << "the restored model is drawn again";
}

// ---- move tool -----------------------------------------------------------------------------

TEST_F(EditView, dragMovesTheModelByTheDraggedDistanceOnThePlatform)
{
    auto model = addBox(-5, -5, 5, 5, 10);
    useMoveTool();
    const QByteArray before = vertexBytes(*model);
    const QPoint from = pixelOf({0, 0, 10});
    const QPoint to = from + QPoint(60, -25);
    const Vec3f expected = planePoint(to) - planePoint(from);
    drag(from, to);
    model->recomputeBounds();
    const Box3f box = model->boundingBox();
    EXPECT_NEAR(box.center().x, expected.x, 1e-3);
    EXPECT_NEAR(box.center().y, expected.y, 1e-3);
    EXPECT_EQ(box.min.z, 0.0f);
    EXPECT_NEAR(box.max.z, 10.0f, 1e-4);
    EXPECT_GT(std::fabs(expected.x), 5.0f);
    ASSERT_STREQ(m_app.commandStack().undoName(), "MoveModel");
    ASSERT_TRUE(m_app.undoCommand());
    EXPECT_EQ(vertexBytes(*model), before) << "undo gives the old vertices back bit for bit";
}

TEST_F(EditView, draggingOffThePlatformRaisesTheOutOfBoundsEventAndBackTheInsideOne)
{
    auto model = addBox(-5, -5, 5, 5, 10);
    useMoveTool();
    m_boundsEvents.clear();
    const QPoint centre = pixelOf({0, 0, 10});
    const QPoint outside = pixelOf({60, 0, 0});
    drag(centre, outside);
    ASSERT_FALSE(m_boundsEvents.empty());
    EXPECT_EQ(m_boundsEvents.back(), OutsidePlatform);
    drag(outside, centre);
    EXPECT_EQ(m_boundsEvents.back(), InsidePlatform);
}

TEST_F(EditView, ctrlClickAddsAnUnselectedModelAndRemovesASelectedOne)
{
    auto a = addBox(-30, -5, -20, 5, 8);
    auto b = addBox(10, -5, 20, 5, 8);
    useMoveTool();
    click(pixelOf({-25, 0, 8}));
    EXPECT_EQ(scene().selection(), DScene::ModelList{a});
    click(pixelOf({15, 0, 8}), Qt::ControlModifier);
    EXPECT_EQ(scene().selection().size(), 2u);
    click(pixelOf({-25, 0, 8}), Qt::ControlModifier);
    EXPECT_EQ(scene().selection(), DScene::ModelList{b});
    EXPECT_TRUE(m_app.commandStack().undoList().empty()) << "clicks move nothing";
}

TEST_F(EditView, movementTakenByAToolStillMakesTheNextStandardViewStartFromHome)
{
    addBox(-5, -5, 5, 5, 10);
    useMoveTool();
    ASSERT_FALSE(m_host->turner().isDirty());
    mouse(QEvent::MouseMove, QPoint(100, 100), Qt::NoButton, Qt::RightButton);
    EXPECT_TRUE(m_host->turner().isDirty());
}

TEST_F(EditView, draggingTwoSelectedModelsMovesBothByTheSameOffset)
{
    auto a = addBox(-30, -5, -20, 5, 8);
    auto b = addBox(10, -5, 20, 5, 8);
    scene().select(a);
    scene().select(b);
    useMoveTool();
    const QPoint from = pixelOf({15, 0, 8});
    const QPoint to = from + QPoint(-40, 30);
    drag(from, to);
    a->recomputeBounds();
    b->recomputeBounds();
    const Vec3f expected = planePoint(to) - planePoint(from);
    EXPECT_NEAR(a->boundingBox().min.x, -30.0f + expected.x, 1e-3);
    EXPECT_NEAR(b->boundingBox().min.x, 10.0f + expected.x, 1e-3);
    EXPECT_NEAR(a->boundingBox().min.y, -5.0f + expected.y, 1e-3);
    EXPECT_NEAR(b->boundingBox().min.y, -5.0f + expected.y, 1e-3);
}

TEST_F(EditView, aModelWithSupportsKeepsItsHeightWhenMoved)
{
    auto model = rendertest::boxModel(-5, -5, 3, 5, 5, 13);
    auto support = std::make_shared<Support>();
    support->parts.push_back(testsupport::soupBoxModel(-1, -1, 0, 1, 1, 3));
    model->setSupport(support);
    m_app.addModelsToScene({model});
    useMoveTool();
    const QPoint from = pixelOf({0, 0, 13});
    drag(from, from + QPoint(30, 0));
    model->recomputeBounds();
    EXPECT_NEAR(model->boundingBox().min.z, 3.0f, 1e-5);
    support->parts.front()->recomputeBounds();
    EXPECT_NEAR(support->parts.front()->boundingBox().min.z, 0.0f, 1e-5);
}

TEST_F(EditView, draggingALargeModelDrawsItsStandInAndUploadsTheMeshOnceAtTheEnd)
{
    frame().context()->proxyThreshold = 1000;
    frame().context()->proxyFaces = 300;
    // A box cut into many small faces.
    auto model = std::make_shared<Model>();
    std::vector<testsupport::Triangle> triangles;
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 40; ++j) {
            auto cell = testsupport::boxTriangles(-10 + i * 0.5f, -10 + j * 0.5f, 0,
                                                  -9.5f + i * 0.5f, -9.5f + j * 0.5f, 6);
            triangles.insert(triangles.end(), cell.begin(), cell.end());
        }
    testsupport::fillSoup(*model, triangles);
    m_app.addModelsToScene({model});
    auto drawable = frame().drawableOf(model);
    ASSERT_TRUE(drawable);
    m_box->grabFramebuffer();
    drawable->waitForProxy();
    m_box->grabFramebuffer();
    useMoveTool();
    const int uploads = drawable->uploadCount();
    const QPoint from = pixelOf({0, 0, 6});
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    bool standIn = false;
    for (int i = 1; i <= 6; ++i) {
        mouse(QEvent::MouseMove, from + QPoint(8 * i, 0), Qt::NoButton, Qt::LeftButton);
        m_box->grabFramebuffer();
        standIn = standIn || drawable->lastDrawUsedProxy();
        EXPECT_EQ(drawable->uploadCount(), uploads) << "no upload while dragging";
    }
    EXPECT_TRUE(standIn) << "the stand-in is drawn while the model moves";
    mouse(QEvent::MouseButtonRelease, from + QPoint(48, 0), Qt::LeftButton, Qt::NoButton);
    m_box->grabFramebuffer();
    m_box->grabFramebuffer();
    EXPECT_EQ(drawable->uploadCount(), uploads + 1) << "one upload of the moved mesh";
    EXPECT_FALSE(drawable->lastDrawUsedProxy()) << "full detail once the drag ended";
}

// ---- rotate tool -------------------------------------------------------------------------

// A pixel on ring `kind` near `world`, searched around its projection.
QPoint findRingPixel(EditView *, COrvaneFrame &frame, DRotateModelInteractor &tool,
                     const QPoint &guess, int width, int height, int kind)
{
    for (int r = 0; r < 6; ++r)
        for (int dx = -r; dx <= r; ++dx)
            for (int dy = -r; dy <= r; ++dy) {
                const QPoint p = guess + QPoint(dx, dy);
                if (tool.ringUnder(frame.pickRay(p.x(), p.y(), width, height)) == kind)
                    return p;
            }
    return {-1, -1};
}

TEST_F(EditView, rotateToolShowsThreeRingsAroundTheSelectedModel)
{
    auto model = addBox(-6, -3, 6, 3, 4);
    useRotateTool();
    ASSERT_EQ(frame().excircles().size(), 3u);
    EXPECT_TRUE(frame().excirclesShown());
    m_host->input().remove(m_host->input().rotateInteractor());
    EXPECT_FALSE(frame().excirclesShown());
    EXPECT_FALSE(frame().interactor());
}

TEST_F(EditView, draggingTheZRingTurnsTheModelAboutItsCentroidAndKeepsItsHeight)
{
    auto model = addBox(-8, -3, 8, 3, 4);
    DRotateModelInteractor &tool = useRotateTool();
    m_box->grabFramebuffer();
    model->recomputeBounds();
    const Point3f c = model->boundingBox().center();
    float radius = 0.0f;
    for (const auto &v : model->vertices())
        radius = std::max(radius, (v - c).length());
    const float mid = radius + 0.33f;
    const QPoint start = findRingPixel(this, frame(), tool, pixelOf({c.x + mid, c.y, c.z + 0.65f}),
                                       m_box->width(), m_box->height(), 3);
    ASSERT_GE(start.x(), 0) << "no pixel of the Z ring found";
    const QPoint end = pixelOf({c.x, c.y + mid, c.z + 0.65f});
    mouse(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(tool.hoveredRing(), 3) << "the ring under the cursor is highlighted";
    // Along the arc, so every step stays near the ring's plane.
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(tool.grabbedRing(), 3);
    for (int i = 1; i <= 9; ++i) {
        const float a = i * 10.0f * 0.017453292f;
        mouse(QEvent::MouseMove,
              pixelOf({c.x + mid * std::cos(a), c.y + mid * std::sin(a), c.z + 0.65f}),
              Qt::NoButton, Qt::LeftButton);
        m_box->grabFramebuffer();
    }
    mouse(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    model->recomputeBounds();
    const Box3f box = model->boundingBox();
    // About 90 degrees: the long side now lies along y.
    EXPECT_NEAR(box.extent().x, 6.0f, 0.6f);
    EXPECT_NEAR(box.extent().y, 16.0f, 0.6f);
    EXPECT_NEAR(box.center().x, c.x, 1e-3);
    EXPECT_NEAR(box.center().y, c.y, 1e-3);
    EXPECT_NEAR(box.min.z, 0.0f, 1e-5);
    EXPECT_NEAR(box.max.z, 4.0f, 1e-5);
    EXPECT_STREQ(m_app.commandStack().undoName(), "RotateModel");
}

TEST_F(EditView, rotatingAboutXOrYRestsTheModelOnThePlatformAndAboutZKeepsItsHeight)
{
    auto model = addBox(-8, -3, 8, 3, 4);
    DRotateModelInteractor &tool = useRotateTool();
    ASSERT_TRUE(tool.rotateModel(model, 1, 30.0f));
    model->recomputeBounds();
    EXPECT_NEAR(model->boundingBox().min.z, 0.0f, 1e-6);
    ASSERT_TRUE(tool.rotateModel(model, 2, -45.0f));
    model->recomputeBounds();
    EXPECT_NEAR(model->boundingBox().min.z, 0.0f, 1e-6);
    const float height = model->boundingBox().max.z;
    ASSERT_TRUE(tool.rotateModel(model, 3, 60.0f));
    model->recomputeBounds();
    EXPECT_NEAR(model->boundingBox().min.z, 0.0f, 1e-5);
    EXPECT_NEAR(model->boundingBox().max.z, height, 1e-4);
}

TEST_F(EditView, layFlatPutsTheClickedFaceOnThePlatform)
{
    // A wedge leaning over: its slanted face points up and sideways.
    auto model = std::make_shared<Model>();
    testsupport::fillSoup(*model, {{{{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}},
                                   {{{0, 0, 0}, {0, 10, 0}, {0, 0, 8}}},
                                   {{{0, 0, 0}, {0, 0, 8}, {10, 0, 0}}},
                                   {{{10, 0, 0}, {0, 0, 8}, {0, 10, 0}}}});
    // Outward windings.
    for (int f = 0; f < 4; ++f) {
        auto &face = model->faces()[f];
        std::swap(face[1], face[2]);
    }
    model->computeFaceNormals();
    m_app.addModelsToScene({model});
    DRotateModelInteractor &tool = useRotateTool();
    tool.setLayFlat(true);
    EXPECT_FALSE(frame().excirclesShown()) << "no rings while choosing the bottom";
    m_box->grabFramebuffer();
    const QPoint onSlant = pixelOf({2.5f, 2.5f, 4.0f});
    const RayHit hit = scene().nearestHit(
        frame().pickRay(onSlant.x(), onSlant.y(), m_box->width(), m_box->height()));
    ASSERT_TRUE(hit.isHit());
    ASSERT_EQ(hit.face, 3);
    click(onSlant);
    model->recomputeBounds();
    EXPECT_NEAR(model->boundingBox().min.z, 0.0f, 1e-6);
    const Vec3f n = model->faceNormals()[3].normalized();
    EXPECT_NEAR(n.z, -1.0f, 1e-5) << "the clicked face points straight down";
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(model->vertices()[model->faces()[3][k]].z, 0.0f, 1e-4);
    EXPECT_STREQ(m_app.commandStack().undoName(), "LayFlat");
}

} // namespace

// ---- overhang editor ---------------------------------------------------------------------

namespace
{

class OverhangEditing : public EditView
{
  protected:
    // A block floating 6 mm above the platform, seen from straight below.
    void SetUp() override
    {
        EditView::SetUp();
        if (HasFatalFailure())
            return;
        m_block = rendertest::boxModel(-6, -4, 6, 6, 4, 12);
        m_app.addModelsToScene({m_block});
        frame().homeView();
        frame().pitchBy(-90.0f);
        frame().zoomBy(100.0f);
        frame().zoomBy(100.0f);
        frame().settleView();
        m_editor = std::make_shared<OverhangEditor>();
        m_editor->setModel(m_block);
        m_keptProjection = frame().context()->projection;
        m_host->input().install(m_editor, 1);
        m_box->grabFramebuffer();
    }

    std::shared_ptr<Model> m_block;
    std::shared_ptr<OverhangEditor> m_editor;
    Matrix4f m_keptProjection{};
};

TEST_F(OverhangEditing, modeSwitchesTheOrthographicProjectionAndBackExactly)
{
    const Matrix4f ortho = frame().context()->projection;
    EXPECT_EQ(ortho[15], 1.0f) << "orthographic";
    EXPECT_EQ(ortho[11], 0.0f);
    const float extent = m_editor->orthoExtent();
    QWheelEvent wheel(QPointF(320, 240), m_box->mapToGlobal(QPoint(320, 240)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_box.get(), &wheel);
    EXPECT_FLOAT_EQ(m_editor->orthoExtent(), extent - 2.4f) << "a notch narrows by 120 / 50";
    m_host->input().remove(m_editor);
    EXPECT_EQ(frame().context()->projection, m_keptProjection) << "perspective as before";
}

TEST_F(OverhangEditing, clickOnTheUndersideAddsAPointAndClickOnItsMarkerRemovesIt)
{
    const QPoint under = pixelOf({1.5f, 0.5f, 6.0f});
    // The preview follows the cursor over the downward face.
    mouse(QEvent::MouseMove, under, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(m_editor->drawsPreview());
    click(under);
    ASSERT_EQ(m_block->overhangs().size(), 1u);
    const auto point = m_block->overhangs().front();
    // Within a pixel of the clicked spot (a quarter millimetre at this zoom).
    EXPECT_NEAR(point->position().x, 1.5f, 0.3f);
    EXPECT_NEAR(point->position().y, 0.5f, 0.3f);
    EXPECT_NEAR(point->position().z, 6.0f, 1e-4f);
    EXPECT_NEAR(point->direction().z, -1.0f, 1e-5f);
    EXPECT_EQ(frame().overhangMarkers().size(), 1u) << "its marker is drawn";
    EXPECT_STREQ(m_app.commandStack().undoName(), "AddSupport");
    m_box->grabFramebuffer();

    click(pixelOf(point->position() + Vec3f{0.0f, 0.0f, -0.3f}));
    EXPECT_TRUE(m_block->overhangs().empty());
    EXPECT_TRUE(frame().overhangMarkers().empty());
    ASSERT_TRUE(m_app.undoCommand());
    EXPECT_EQ(m_block->overhangs().size(), 1u) << "undo gives the point back";
    EXPECT_EQ(frame().overhangMarkers().size(), 1u);
}

TEST_F(OverhangEditing, nothingIsAddedWhenAddingIsOffOrTheSpotIsOnThePlatform)
{
    m_editor->setAddingEnabled(false);
    click(pixelOf({1.5f, 0.5f, 6.0f}));
    EXPECT_TRUE(m_block->overhangs().empty());
    m_editor->setAddingEnabled(true);
    auto low = rendertest::boxModel(20, -4, 0.05f, 30, 4, 3);
    m_app.addModelsToScene({low});
    m_editor->setModel(low);
    m_box->grabFramebuffer();
    click(pixelOf({25.0f, 0.0f, 0.05f}));
    EXPECT_TRUE(low->overhangs().empty()) << "a point at z <= 0.1 is ignored";
}

} // namespace

#include "GlTestSupport.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/GLBox.h"
#include "render/IFrameInteractor.h"
#include "render/MeshSimplifier.h"
#include "render/OpenGLModel.h"
#include "render/ViewTurner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <QWindow>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace Orvane3Ds;

namespace
{

// A closed latitude-longitude sphere, outward winding, 2 * rings * sectors faces.
std::shared_ptr<Model> sphereModel(const Vec3f &centre, float radius, int rings, int sectors)
{
    auto model = std::make_shared<Model>();
    auto &v = model->vertices();
    for (int r = 0; r <= rings; ++r) {
        const float phi = 3.14159265f * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s < sectors; ++s) {
            const float theta = 6.2831853f * static_cast<float>(s) / static_cast<float>(sectors);
            v.push_back(centre + Vec3f{radius * std::sin(phi) * std::cos(theta),
                                       radius * std::sin(phi) * std::sin(theta),
                                       radius * std::cos(phi)});
        }
    }
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < sectors; ++s) {
            const auto a = static_cast<std::uint32_t>(r * sectors + s);
            const auto b = static_cast<std::uint32_t>(r * sectors + (s + 1) % sectors);
            const auto c = a + static_cast<std::uint32_t>(sectors);
            const auto d = b + static_cast<std::uint32_t>(sectors);
            Face f1, f2;
            f1[0] = a, f1[1] = c, f1[2] = b;
            f2[0] = b, f2[1] = c, f2[2] = d;
            model->faces().push_back(f1);
            model->faces().push_back(f2);
        }
    model->setIndexed(true);
    model->computeFaceNormals();
    model->recomputeBounds();
    return model;
}

std::vector<QRgb> image(const rendertest::GlScene &gl)
{
    std::vector<QRgb> pixels;
    for (int y = 0; y < gl.height(); ++y)
        for (int x = 0; x < gl.width(); ++x)
            pixels.push_back(gl.pixel(x, y).rgb());
    return pixels;
}

bool multisampling()
{
    return glIsEnabled(GL_MULTISAMPLE) != 0;
}

// Runs the event loop until the predicate holds (or a generous limit passes).
bool processEventsUntil(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return done();
}

// A sphere of 2 * 60 * 120 = 14,400 faces in front of the camera; meshes above 5,000 faces get
// a stand-in of about 1,500.
class DetailProxy : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        rendertest::useTestColours();
        ASSERT_TRUE(gl.isReady());
        gl.context().proxyThreshold = 5000;
        gl.context().proxyFaces = 1500;
        gl.frame().setSettleDelay(20);
        gl.engine().setRepaintCallback([this] { ++repaints; });
        sphere = sphereModel({0.0f, 0.0f, 60.0f}, 30.0f, 60, 120);
        gl.scene().addModels({sphere});
    }

    OpenGLModel &drawable() { return *gl.frame().drawableOf(sphere); }

    // Draws once (which starts the stand-in), waits for it and draws again to upload it.
    void buildProxy()
    {
        gl.render();
        drawable().waitForProxy();
        gl.render();
    }

    rendertest::GlScene gl{320, 240};
    std::shared_ptr<Model> sphere;
    int repaints = 0;
};

TEST_F(DetailProxy, theFullMeshIsDrawnAtRest)
{
    buildProxy();
    ASSERT_GT(drawable().proxyFaceCount(), 0u);
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    EXPECT_EQ(drawable().lastDrawnFaces(), sphere->faces().size());
}

TEST_F(DetailProxy, theStandInIsDrawnWhileTheViewMovesAndTheFullMeshAfterwards)
{
    buildProxy();
    const std::vector<QRgb> atRest = image(gl);

    gl.frame().noteViewMoving();
    gl.render();
    EXPECT_TRUE(drawable().lastDrawUsedProxy());
    EXPECT_EQ(drawable().lastDrawnFaces(), drawable().proxyFaceCount());
    EXPECT_LT(drawable().proxyFaceCount(), sphere->faces().size() / 4);
    EXPECT_TRUE(gl.frame().lastFrameReduced());
    EXPECT_FALSE(multisampling()); // a moving heavy view is drawn without it
    EXPECT_NE(image(gl), atRest);

    // Once the motion settles the view asks to be painted again, at full detail.
    ASSERT_TRUE(processEventsUntil([this] { return !gl.frame().isViewMoving(); }));
    EXPECT_EQ(repaints, 1);
    gl.render();
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    EXPECT_EQ(drawable().lastDrawnFaces(), sphere->faces().size());
    EXPECT_TRUE(multisampling());
    EXPECT_EQ(image(gl), atRest);
}

TEST_F(DetailProxy, motionWithoutAStandInDrawnAsksForNoExtraRepaint)
{
    gl.frame().noteViewMoving();
    gl.render(); // the stand-in is only being built: full mesh
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    ASSERT_TRUE(processEventsUntil([this] { return !gl.frame().isViewMoving(); }));
    EXPECT_EQ(repaints, 0);
}

TEST_F(DetailProxy, snapshotsAlwaysDrawTheFullMesh)
{
    buildProxy();
    const QByteArray atRest = gl.frame().renderSnapshot(SnapshotView::Front);
    gl.frame().noteViewMoving();
    const QByteArray moving = gl.frame().renderSnapshot(SnapshotView::Front);
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    EXPECT_EQ(moving, atRest);
}

TEST_F(DetailProxy, aGeometryChangeDropsTheStandInAndBuildsANewOne)
{
    buildProxy();
    ASSERT_EQ(drawable().proxyBuildCount(), 1);
    const QPoint oldCentre = gl.project({0.0f, 0.0f, 60.0f});
    const QPoint newCentre = gl.project({60.0f, 0.0f, 60.0f});
    const QColor background = gl.pixel(newCentre.x(), newCentre.y());

    sphere->transform(translationMatrix(60.0f, 0.0f, 0.0f));
    gl.frame().noteViewMoving();
    gl.render();
    // The old stand-in is gone at once; the full mesh stands in until the new one is ready.
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    EXPECT_EQ(drawable().proxyFaceCount(), 0u);

    drawable().waitForProxy();
    gl.frame().noteViewMoving();
    gl.render();
    EXPECT_EQ(drawable().proxyBuildCount(), 2);
    EXPECT_TRUE(drawable().lastDrawUsedProxy());
    EXPECT_NE(gl.pixel(newCentre.x(), newCentre.y()), background);
    EXPECT_EQ(gl.pixel(oldCentre.x(), oldCentre.y()), background);
}

TEST_F(DetailProxy, meshesUnderTheThresholdNeverGetAStandIn)
{
    gl.context().proxyThreshold = sphere->faces().size();
    gl.frame().noteViewMoving();
    gl.render();
    EXPECT_FALSE(drawable().isBuildingProxy());
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    EXPECT_EQ(drawable().proxyBuildCount(), 0);
}

// Many models may make a heavy view together; the stand-ins share the budget.
TEST_F(DetailProxy, modelsTooSmallAloneShareTheBudgetWhenTheViewIsHeavyTogether)
{
    gl.context().proxyThreshold = 20000;
    gl.context().proxyFaces = 3000;
    auto other = sphereModel({0.0f, 35.0f, 60.0f}, 20.0f, 60, 120);
    gl.scene().addModels({other});
    gl.render();
    auto otherDrawable = gl.frame().drawableOf(other);
    drawable().waitForProxy();
    otherDrawable->waitForProxy();
    gl.frame().noteViewMoving();
    gl.render();
    for (OpenGLModel *d : {&drawable(), otherDrawable.get()}) {
        EXPECT_TRUE(d->lastDrawUsedProxy());
        EXPECT_GT(d->proxyFaceCount(), 750u);
        EXPECT_LT(d->proxyFaceCount(), 2250u);
    }

    // Alone, one sphere is light enough to draw whole: its stand-in goes.
    gl.scene().removeModel(other);
    gl.render();
    EXPECT_EQ(drawable().proxyFaceCount(), 0u);
    EXPECT_FALSE(drawable().isBuildingProxy());
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
}

struct HighlightingInteractor : IFrameInteractor {
    bool active = true;
    bool isActive() const override { return active; }
    std::vector<int> highlightedFaces() const override { return {0, 1, 2}; }
};

// Highlighted faces come from the full mesh, so the model under them stays full as well.
TEST_F(DetailProxy, anActiveSupportEditorKeepsTheFullMesh)
{
    buildProxy();
    auto interactor = std::make_shared<HighlightingInteractor>();
    gl.frame().setInteractor(interactor);
    gl.frame().setEditMode(true);
    gl.frame().setEditedModel(sphere);
    gl.frame().noteViewMoving();
    gl.render();
    EXPECT_FALSE(drawable().lastDrawUsedProxy());
    interactor->active = false;
    gl.render();
    EXPECT_TRUE(drawable().lastDrawUsedProxy());
}

void sendMouse(GLBox &box, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, box.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &event);
}

// The whole path in the view widget: a right-button drag repaints through the stand-in, and the
// widget is painted again at full detail once the mouse has been still for the settle delay.
TEST(DetailProxyInTheView, aDragShowsTheStandInAndTheViewSettlesAtFullDetail)
{
    DScene scene;
    CRenderEngine engine(&scene);
    engine.setQuiet(true);
    GLBox box(&engine);
    box.resize(200, 150);
    box.show();
    ASSERT_TRUE(processEventsUntil([&box] {
        return box.isGlReady() && box.windowHandle() && box.windowHandle()->isExposed();
    }));
    engine.context()->proxyThreshold = 5000;
    engine.context()->proxyFaces = 1500;
    // Long enough that the repaints of the drag happen while the view still counts as moving.
    engine.frame()->setSettleDelay(60000);
    auto sphere = sphereModel({0.0f, 0.0f, 60.0f}, 30.0f, 60, 120);
    box.makeCurrent();
    scene.addModels({sphere});
    box.doneCurrent();
    box.grabFramebuffer(); // a synchronous paint: uploads and starts the stand-in
    auto drawable = engine.frame()->drawableOf(sphere);
    ASSERT_TRUE(drawable);
    drawable->waitForProxy();
    box.grabFramebuffer();
    ASSERT_GT(drawable->proxyFaceCount(), 0u);
    EXPECT_FALSE(drawable->lastDrawUsedProxy());

    sendMouse(box, QEvent::MouseButtonPress, {50, 50}, Qt::RightButton, Qt::RightButton);
    sendMouse(box, QEvent::MouseMove, {60, 55}, Qt::NoButton, Qt::RightButton);
    EXPECT_TRUE(processEventsUntil([&] { return drawable->lastDrawUsedProxy(); }));
    EXPECT_TRUE(engine.frame()->isViewMoving());
    sendMouse(box, QEvent::MouseButtonRelease, {60, 55}, Qt::RightButton, Qt::NoButton);

    // The mouse now stays still.
    engine.frame()->setSettleDelay(20);
    EXPECT_TRUE(processEventsUntil([&] { return !drawable->lastDrawUsedProxy(); }));
    EXPECT_FALSE(engine.frame()->isViewMoving());
    EXPECT_EQ(drawable->lastDrawnFaces(), sphere->faces().size());
    box.makeCurrent();
    for (const auto &model : scene.models())
        scene.removeModel(model);
    box.doneCurrent();
}

struct CameraMotionRow {
    const char *name;
    std::function<void(COrvaneFrame &)> act;
    bool moving;
};

class CameraMotion : public ::testing::TestWithParam<CameraMotionRow>
{
};

TEST_P(CameraMotion, putsTheViewInMotionOrNot)
{
    rendertest::GlScene gl{64, 64};
    ASSERT_TRUE(gl.isReady());
    gl.frame().setSettleDelay(60000);
    gl.frame().pressRight(10, 10);
    GetParam().act(gl.frame());
    EXPECT_EQ(gl.frame().isViewMoving(), GetParam().moving);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CameraMotion,
    ::testing::Values(CameraMotionRow{"rotateDrag", [](COrvaneFrame &f) { f.dragRotate(20, 15); },
                                      true},
                      CameraMotionRow{"panDrag", [](COrvaneFrame &f) { f.dragPan(20, 15); }, true},
                      CameraMotionRow{"wheel", [](COrvaneFrame &f) { f.wheel(120); }, true},
                      CameraMotionRow{"zoomStep", [](COrvaneFrame &f) { f.zoomBy(-40.0f); }, true},
                      CameraMotionRow{"pitchStep", [](COrvaneFrame &f) { f.pitchBy(3.0f); }, true},
                      CameraMotionRow{"yawStep", [](COrvaneFrame &f) { f.yawBy(3.0f); }, true},
                      CameraMotionRow{"animatedTopView",
                                      [](COrvaneFrame &f) {
                                          ViewTurner turner(&f);
                                          turner.setStepPause(0);
                                          turner.top();
                                      },
                                      true},
                      CameraMotionRow{"homeView", [](COrvaneFrame &f) { f.homeView(); }, false},
                      CameraMotionRow{"topView", [](COrvaneFrame &f) { f.topViewReset(); }, false}),
    [](const auto &info) { return std::string(info.param.name); });

// The stand-in itself.
TEST(MeshSimplifier, landsNearTheTargetAndKeepsTheWinding)
{
    const Vec3f centre{5.0f, -3.0f, 40.0f};
    auto sphere = sphereModel(centre, 25.0f, 200, 400); // 160,000 faces
    const auto proxy = simplifyByClustering(sphere->vertices(), sphere->faces(), 10000);
    ASSERT_EQ(proxy.interleaved.size(), proxy.faceCount * 18);
    EXPECT_GT(proxy.faceCount, 6000u);
    EXPECT_LT(proxy.faceCount, 16000u);
    std::size_t outward = 0;
    for (std::size_t f = 0; f < proxy.faceCount; ++f) {
        const float *p = proxy.interleaved.data() + f * 18;
        const Vec3f corner{p[0], p[1], p[2]};
        const Vec3f normal{p[3], p[4], p[5]};
        EXPECT_NEAR((corner - centre).length(), 25.0f, 2.0f * proxy.cellSize);
        outward += normal.dot(corner - centre) > 0.0f ? 1 : 0;
    }
    EXPECT_EQ(outward, proxy.faceCount);
}

TEST(MeshSimplifier, givesNothingForMeshesAlreadySmallEnoughOrWhenCancelled)
{
    auto sphere = sphereModel({0.0f, 0.0f, 0.0f}, 10.0f, 20, 40); // 1,600 faces
    EXPECT_EQ(simplifyByClustering(sphere->vertices(), sphere->faces(), 1600).faceCount, 0u);
    EXPECT_EQ(simplifyByClustering({}, {}, 10).faceCount, 0u);
    std::atomic<bool> cancel{true};
    EXPECT_EQ(simplifyByClustering(sphere->vertices(), sphere->faces(), 100, &cancel).faceCount,
              0u);
}

TEST(MeshSimplifier, ignoresFacesWithIndicesOutsideTheVertexList)
{
    auto sphere = sphereModel({0.0f, 0.0f, 0.0f}, 10.0f, 40, 80); // 6,400 faces
    auto faces = sphere->faces();
    Face bad;
    bad[0] = 0, bad[1] = 1, bad[2] = 999999;
    faces.push_back(bad);
    const auto proxy = simplifyByClustering(sphere->vertices(), faces, 1000);
    EXPECT_GT(proxy.faceCount, 0u);
    for (float value : proxy.interleaved)
        ASSERT_TRUE(std::isfinite(value));
}

} // namespace

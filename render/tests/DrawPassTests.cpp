#include "GlTestSupport.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/OpenGLModel.h"

#include "geometry/SlcModel.h"

#include "supports/DsCylider.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"

#include <gtest/gtest.h>

using namespace Orvane3Ds;

namespace
{

// Front face of a lit model facing the head-light: 30 % light (about 1.06) + 70 % tint.
int litChannel(float tint)
{
    return qBound(0, static_cast<int>((0.3f * 1.06f + 0.7f * tint) * 255.0f + 0.5f), 255);
}

::testing::AssertionResult near(const QColor &c, int r, int g, int b, int tolerance = 20)
{
    if (std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
        std::abs(c.blue() - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << c.red() << ", " << c.green() << ", " << c.blue() << ") is not near ("
           << r << ", " << g << ", " << b << ")";
}

class DrawPass : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        rendertest::useTestColours();
        ASSERT_TRUE(gl.isReady());
        // A block in front of the camera, its +Y face toward the eye at (0, 600, 120).
        box = rendertest::boxModel(-20, -10, 40, 20, 10, 80);
        gl.scene().addModels({box});
    }

    rendertest::GlScene gl{320, 240};
    std::shared_ptr<Model> box;
    const Vec3f frontFace{0.0f, 10.0f, 60.0f};
};

} // namespace

TEST_F(DrawPass, platformGridIsDrawnInItsColour)
{
    gl.render();
    EXPECT_GT(gl.countPixels(QColor(237, 237, 237)), 50);
}

TEST_F(DrawPass, aSelectedModelIsDrawnInTheSelectionColour)
{
    gl.render();
    const QPoint p = gl.project(frontFace);
    EXPECT_TRUE(near(gl.pixel(p.x(), p.y()), litChannel(0), litChannel(0), litChannel(1)));
}

TEST_F(DrawPass, anUnselectedModelIsDrawnInTheModelColour)
{
    gl.scene().clearSelection();
    gl.render();
    const QPoint p = gl.project(frontFace);
    EXPECT_TRUE(near(gl.pixel(p.x(), p.y()), litChannel(0), litChannel(1), litChannel(0)));
}

TEST_F(DrawPass, theClipPlaneHidesWhatLiesAboveIt)
{
    gl.scene().clearSelection();
    gl.context().clipZ = 60.0f;
    gl.context().upCut = true;
    gl.render();
    const QPoint above = gl.project({0.0f, 10.0f, 75.0f});
    const QPoint below = gl.project({0.0f, 10.0f, 45.0f});
    // Above the cut the inside of the block shows: back faces, tinted toward red.
    const QColor hidden = gl.pixel(above.x(), above.y());
    EXPECT_LT(hidden.green(), 200) << hidden.name().toStdString();
    EXPECT_TRUE(near(gl.pixel(below.x(), below.y()), litChannel(0), litChannel(1), litChannel(0)));
}

TEST_F(DrawPass, aClipPlaneBelowTheModelHidesItWhole)
{
    gl.scene().clearSelection();
    gl.render();
    const QPoint p = gl.project(frontFace);
    const QColor shown = gl.pixel(p.x(), p.y());
    gl.context().clipZ = 10.0f;
    gl.render();
    const QColor hidden = gl.pixel(p.x(), p.y());
    EXPECT_NE(shown, hidden);
    const auto clear = gl.frame().clearColor();
    EXPECT_TRUE(near(hidden, int(clear[0] * 255 + 0.5f), int(clear[1] * 255 + 0.5f),
                     int(clear[2] * 255 + 0.5f), 2));
}

TEST_F(DrawPass, cuttingFromBelowKeepsTheTop)
{
    gl.scene().clearSelection();
    gl.context().upCut = false;
    gl.context().clipZ = 0.0f;
    gl.render();
    const QPoint p = gl.project(frontFace);
    EXPECT_TRUE(near(gl.pixel(p.x(), p.y()), litChannel(0), litChannel(1), litChannel(0)));
}

TEST_F(DrawPass, geometryIsUploadedOncePerChange)
{
    auto drawable = gl.frame().drawableOf(box);
    ASSERT_TRUE(drawable);
    EXPECT_EQ(drawable->uploadCount(), 1);
    EXPECT_EQ(drawable->uploadedBytes(), box->faces().size() * 72);
    gl.render();
    gl.render();
    EXPECT_EQ(drawable->uploadCount(), 1);

    box->transform(translationMatrix(0.0f, 0.0f, -30.0f));
    EXPECT_TRUE(drawable->isStale());
    gl.render();
    gl.render();
    EXPECT_EQ(drawable->uploadCount(), 2);
    // The moved block is drawn where it now is.
    gl.scene().clearSelection();
    gl.render();
    const QPoint p = gl.project({0.0f, 10.0f, 30.0f});
    EXPECT_TRUE(near(gl.pixel(p.x(), p.y()), litChannel(0), litChannel(1), litChannel(0)));
}

TEST_F(DrawPass, removedModelsAreNoLongerDrawn)
{
    gl.scene().removeModel(box);
    EXPECT_FALSE(gl.frame().drawableOf(box));
    gl.render();
    const QPoint p = gl.project(frontFace);
    EXPECT_LT(gl.pixel(p.x(), p.y()).green(), 150);
}

TEST_F(DrawPass, supportEditingModeDrawsOnlyTheEditedModel)
{
    auto other = rendertest::boxModel(-45, -10, 10, -30, 10, 30);
    gl.scene().addModels({other});
    gl.scene().clearSelection();
    gl.frame().setEditMode(true);
    gl.frame().setEditedModel(other);
    gl.render();
    const QPoint edited = gl.project({-37.5f, 10.0f, 20.0f});
    const QPoint hidden = gl.project(frontFace);
    EXPECT_TRUE(
        near(gl.pixel(edited.x(), edited.y()), litChannel(0), litChannel(1), litChannel(0), 30));
    EXPECT_LT(gl.pixel(hidden.x(), hidden.y()).green(), 150);
}

TEST(DrawPassOutsideAFrame, modelsAddedWithoutAContextAreUploadedAtTheNextDraw)
{
    rendertest::useTestColours();
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    auto box = rendertest::boxModel(-20, -10, 40, 20, 10, 80);
    gl.releaseContext();
    gl.scene().addModels({box});
    auto drawable = gl.frame().drawableOf(box);
    ASSERT_TRUE(drawable);
    EXPECT_FALSE(drawable->isInitialised());
    gl.scene().clearSelection();
    gl.render();
    EXPECT_TRUE(drawable->isInitialised());
    const QPoint p = gl.project({0.0f, 10.0f, 60.0f});
    EXPECT_TRUE(near(gl.pixel(p.x(), p.y()), litChannel(0), litChannel(1), litChannel(0)));
    // Removing it with no context current frees its buffers at the next draw.
    gl.releaseContext();
    gl.scene().removeModel(box);
    gl.render();
    EXPECT_LT(gl.pixel(p.x(), p.y()).green(), 150);
}

// Buffer names are numbers local to a context: a buffer given up for one view must not delete
// whatever carries the same number in another view.
TEST(DrawPassOutsideAFrame, buffersGivenUpForOneViewLeaveAnotherViewAlone)
{
    rendertest::useTestColours();
    auto first = std::make_unique<rendertest::GlScene>();
    ASSERT_TRUE(first->isReady());
    auto box = rendertest::boxModel(-20, -10, 40, 20, 10, 80);
    first->scene().addModels({box});
    first->render();
    first->releaseContext();
    first->scene().removeModel(box); // no context current: deletion waits

    rendertest::GlScene second;
    ASSERT_TRUE(second.isReady());
    auto other = rendertest::boxModel(-20, -10, 40, 20, 10, 80);
    second.scene().addModels({other});
    second.scene().clearSelection();
    second.render();
    second.render();
    const QPoint p = second.project({0.0f, 10.0f, 60.0f});
    EXPECT_TRUE(near(second.pixel(p.x(), p.y()), litChannel(0), litChannel(1), litChannel(0)));
    EXPECT_GT(second.countPixels(QColor(237, 237, 237)), 50); // the grid is still there
    first.reset();
    second.render();
    EXPECT_TRUE(near(second.pixel(p.x(), p.y()), litChannel(0), litChannel(1), litChannel(0)));
}

TEST(DrawPassContours, contourModelsAreDrawnAsLinesInTheSelectionColour)
{
    rendertest::useTestColours();
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    auto contour = std::make_shared<Model>();
    contour->setSourceKind(SourceKind::SlcContours);
    auto slc = std::make_shared<SlcModel>();
    SlcModel::Layer layer;
    SlcModel::Contour line;
    for (int i = 0; i <= 40; ++i) {
        line.push_back(static_cast<std::uint32_t>(contour->vertices().size()));
        contour->vertices().push_back({-20.0f + i, 0.0f, 60.0f});
    }
    layer.push_back(line);
    slc->layers.push_back(layer);
    contour->setContourData(slc);
    contour->recomputeBounds();
    gl.scene().addModels({contour});
    gl.scene().clearSelection();
    gl.render();
    int blue = 0;
    for (int y = 0; y < gl.height(); ++y)
        for (int x = 0; x < gl.width(); ++x)
            blue += gl.pixel(x, y) == QColor(0, 0, 255) ? 1 : 0;
    EXPECT_GT(blue, 20);
    // Cut below the contour's layer: gone.
    gl.context().clipZ = 50.0f;
    gl.render();
    EXPECT_EQ(gl.countPixels(QColor(0, 0, 255)), 0);
}

TEST(DrawPassParts, supportsKeepTheirColourAndOverhangsTakeTheirRole)
{
    rendertest::useTestColours();
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    auto model = rendertest::boxModel(-20, -10, 40, 20, 10, 80);
    // A support column in front of the model, coloured red.
    auto column = rendertest::boxModel(-35, 12, 0, -25, 22, 40);
    column->setColour({1.0f, 0.0f, 0.0f});
    auto support = std::make_shared<Support>();
    support->parts.push_back(column);
    model->setSupport(support);
    // An overhang point in front of the model's lower right.
    auto point =
        std::make_shared<Overhang>(Point3f{25.0f, 15.0f, 20.0f}, Vec3f{0, 0, -1}, 3.0f, 0.25f);
    model->overhangs().push_back(point);
    gl.scene().addModels({model});
    ASSERT_EQ(gl.frame().drawableOf(model)->supports().size(), 1u);
    ASSERT_EQ(gl.frame().overhangMarkers().size(), 1u);
    gl.render();

    const QPoint s = gl.project({-30.0f, 22.0f, 20.0f});
    EXPECT_TRUE(near(gl.pixel(s.x(), s.y()), litChannel(1), litChannel(0), litChannel(0), 30));
    const QPoint o = gl.project({25.0f, 18.0f, 20.0f});
    EXPECT_TRUE(near(gl.pixel(o.x(), o.y()), litChannel(1), litChannel(1), litChannel(0), 40));

    gl.scene().discardSupports(model);
    EXPECT_TRUE(gl.frame().drawableOf(model)->supports().empty());
    gl.scene().removeOverhangPoint(point);
    EXPECT_TRUE(gl.frame().overhangMarkers().empty());
}

TEST(DrawPassParts, markersOfOneRadiusShareOneBufferAndAreDrawnAtTheirPoints)
{
    rendertest::useTestColours();
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    const std::size_t buffersBefore = OpenGLObject::sharedShapeBufferCount();
    auto model = rendertest::boxModel(-20, -10, 40, 20, 10, 80);
    // Two points of one radius below the model, left and right, and one of another radius.
    auto left =
        std::make_shared<Overhang>(Point3f{-25.0f, 15.0f, 20.0f}, Vec3f{0, 0, -1}, 3.0f, 0.25f);
    auto right =
        std::make_shared<Overhang>(Point3f{25.0f, 15.0f, 20.0f}, Vec3f{0, 0, -1}, 3.0f, 0.25f);
    auto middle =
        std::make_shared<Overhang>(Point3f{0.0f, 15.0f, 10.0f}, Vec3f{0, 0, -1}, 2.0f, 0.25f);
    model->overhangs() = {left, right, middle};
    gl.scene().addModels({model});
    gl.render();

    ASSERT_EQ(gl.frame().overhangMarkers().size(), 3u);
    EXPECT_EQ(OpenGLObject::sharedShapeBufferCount() - buffersBefore, 2u);
    for (const auto &marker : gl.frame().overhangMarkers())
        EXPECT_EQ(marker->uploadedBytes(), 0u) << "a marker holds no buffer of its own";
    auto isMarker = [](const QColor &c) {
        return near(c, litChannel(1), litChannel(1), litChannel(0), 40);
    };
    for (const Point3f &at : {left->position(), right->position(), middle->position()}) {
        const QPoint p = gl.project({at.x, at.y + 2.0f, at.z});
        EXPECT_TRUE(isMarker(gl.pixel(p.x(), p.y()))) << at.x;
    }
    // Between the markers no marker is drawn.
    for (const Point3f &at : {Point3f{-12.5f, 15.0f, 20.0f}, Point3f{12.5f, 15.0f, 20.0f}}) {
        const QPoint p = gl.project(at);
        EXPECT_FALSE(isMarker(gl.pixel(p.x(), p.y()))) << at.x;
    }

    // The point moved with its model is drawn at its new place.
    model->transform(translationMatrix(0.0f, 0.0f, -12.0f));
    gl.render();
    const QPoint old = gl.project({25.0f, 17.0f, 20.0f});
    EXPECT_FALSE(isMarker(gl.pixel(old.x(), old.y())));
    const QPoint moved = gl.project({25.0f, 17.0f, 8.0f});
    EXPECT_TRUE(isMarker(gl.pixel(moved.x(), moved.y())));

    gl.scene().removeOverhangPoint(left);
    gl.scene().removeOverhangPoint(right);
    gl.render();
    EXPECT_EQ(OpenGLObject::sharedShapeBufferCount() - buffersBefore, 1u)
        << "the buffer goes with the last marker of its radius";
}

// Hand-placed rods of one pair of radii draw one shared tube, turned and stretched onto each
// rod: lit as the same rod holding its own triangles would be, wherever the rod leans.
TEST(DrawPassParts, rodsShareOneTubeLitAsTrianglesOfTheirOwn)
{
    rendertest::useTestColours();
    const Vec3f grey{0.8f, 0.8f, 0.8f};
    struct Lean {
        Point3f top, bottom;
    };
    const Lean leans[] = {{{-30, 15, 60}, {-30, 15, 0}},  // upright
                          {{20, 15, 70}, {40, 20, 5}},    // leaning right and away
                          {{-10, 18, 30}, {30, 14, 25}}}; // nearly lying
    auto rodModel = [&](std::vector<std::shared_ptr<DsCylider>> &rods) {
        auto model = rendertest::boxModel(-5, -40, 90, 5, -30, 100);
        auto record = std::make_shared<ManualSupportRecord>();
        model->manualSupports().shared = record;
        for (const Lean &lean : leans) {
            ManualSupportSettings s;
            s.topPoint = lean.top;
            s.bottomPoint = lean.bottom;
            s.topBallRadius = 0.1f;
            s.bottomBallRadius = 0.1f;
            s.rodTopRadius = 2.5f;
            s.rodBottomRadius = 3.5f;
            rods.push_back(
                ManualSupportRecord::addRod(record, model->manualSupports().parts, s, model));
            rods.back()->setColour(grey);
        }
        return model;
    };

    std::vector<QColor> shared;
    std::vector<QColor> own;
    std::vector<QPoint> probes;
    {
        rendertest::GlScene gl;
        ASSERT_TRUE(gl.isReady());
        const std::size_t buffersBefore = OpenGLObject::sharedShapeBufferCount();
        std::vector<std::shared_ptr<DsCylider>> rods;
        gl.scene().addModels({rodModel(rods)});
        gl.render();
        // The rods' tube and the balls' sphere: two buffers for three rods and six balls.
        EXPECT_EQ(OpenGLObject::sharedShapeBufferCount() - buffersBefore, 2u);
        for (const auto &d : gl.frame().drawableOf(gl.scene().models().front())->supports())
            EXPECT_EQ(d->uploadedBytes(), 0u);
        for (const Lean &lean : leans)
            for (const float t : {0.3f, 0.5f, 0.7f}) {
                const Point3f on = lean.top + (lean.bottom - lean.top) * t;
                probes.push_back(gl.project(on));
                shared.push_back(gl.pixel(probes.back().x(), probes.back().y()));
            }
    }
    {
        rendertest::GlScene gl;
        ASSERT_TRUE(gl.isReady());
        std::vector<std::shared_ptr<DsCylider>> rods;
        auto model = rodModel(rods);
        // The same rods as meshes of their own, in place of the hand-placed ones.
        auto support = std::make_shared<Support>();
        for (const auto &rod : rods) {
            auto mesh = std::make_shared<Mesh3D>();
            rod->buildPlacedShape(*mesh);
            mesh->setColour(grey);
            support->parts.push_back(mesh);
        }
        model->manualSupports() = {};
        model->setSupport(support);
        gl.scene().addModels({model});
        gl.render();
        for (const QPoint &p : probes)
            own.push_back(gl.pixel(p.x(), p.y()));
    }
    ASSERT_EQ(shared.size(), own.size());
    for (std::size_t i = 0; i < shared.size(); ++i) {
        // The clear colour is bluish; the grey rods are lit with white light.
        EXPECT_LE(std::abs(own[i].red() - own[i].blue()), 3) << "probe " << i << " is on a rod";
        EXPECT_TRUE(near(shared[i], own[i].red(), own[i].green(), own[i].blue(), 6))
            << "probe " << i;
    }
}

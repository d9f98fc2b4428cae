#include "SupportFixtures.h"

#include "supports/Nail.h"
#include "supports/OverhangFinder.h"
#include "supports/SupportGenerator.h"
#include "supports/SupportJob.h"
#include "supports/ThinTip.h"

#include <gtest/gtest.h>

namespace
{

SupportParameters tableParams()
{
    return fixtures::basedParams(true); // the table already stands on its legs
}

// A 22 mm table whose flat underside lies 5 mm above the platform.
std::shared_ptr<Model> table()
{
    return fixtures::makeModel(fixtures::table(22, 5, 2, 2));
}

TEST(SupportGeneration, FlatUndersideGetsVerticalTipsAndColumnsToThePlatform)
{
    auto model = table();
    const SupportJobResult r = generateSupportsForModel(*model, tableParams(), nullptr);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.overhangs, 25); // multiples of 4 from -8 to 8, clear of the legs
    ASSERT_TRUE(model->hasSupports());
    const auto &parts = model->support()->parts;
    ASSERT_EQ(r.supportParts, 25 + 25 + 1);
    ASSERT_EQ(parts.size(), 51u);
    for (int i = 0; i < 25; ++i) {
        auto tip = std::dynamic_pointer_cast<Tip>(parts[i]);
        ASSERT_TRUE(tip) << i;
        EXPECT_EQ(tip->direction(), (Vec3f{0, 0, -1}));
        EXPECT_FLOAT_EQ(tip->start().z, 5.0f);
        EXPECT_FLOAT_EQ(tip->endPoint().z, 2.0f);
    }
    for (int i = 25; i < 50; ++i) {
        auto column = std::dynamic_pointer_cast<Cylinder>(parts[i]);
        ASSERT_TRUE(column) << i;
        EXPECT_FLOAT_EQ(column->firstCentre().z, 2.0f);
        EXPECT_FLOAT_EQ(column->secondCentre().z, 0.0f);
    }
    const Box3f &base = parts[50]->boundingBox();
    EXPECT_NEAR(base.min.x, -10.5f, 1e-3);
    EXPECT_NEAR(base.max.x, 10.5f, 1e-3);
    EXPECT_FLOAT_EQ(base.max.z, 1.2f);
}

TEST(SupportGeneration, BaseModeTwoGivesNoBase)
{
    auto model = table();
    SupportParameters p = tableParams();
    p.baseMode = 2;
    const SupportJobResult r = generateSupportsForModel(*model, p, nullptr);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.supportParts, 50);
    for (const auto &part : model->support()->parts)
        EXPECT_TRUE(std::dynamic_pointer_cast<Cylinder>(part));
}

struct RefusalRow {
    const char *name;
    float supportDiameter;
    float supportGaps;
    int method;
    const char *reasonWord;
};

class SupportRefusal : public ::testing::TestWithParam<RefusalRow>
{
};

TEST_P(SupportRefusal, RefusesWithAReasonAndLeavesTheModelAlone)
{
    const RefusalRow &row = GetParam();
    auto model = fixtures::makeModel(fixtures::sphere({0, 0, 10}, 5, 12, 16));
    SupportParameters p = tableParams();
    p.hasSupports = false;
    p.supportRadius = row.supportDiameter / 2.0f;
    p.supportGaps = row.supportGaps;
    p.method = row.method;
    const SupportJobResult r = generateSupportsForModel(*model, p, nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String(row.reasonWord))) << r.error.toStdString();
    EXPECT_FLOAT_EQ(model->boundingBox().min.z, 5.0f); // not lifted
    EXPECT_FALSE(model->support());
    if (row.supportGaps < 0.1f)
        return; // the gap matters to detection only
    // The generator alone refuses too.
    SupportGenerator generator(*model);
    EXPECT_FALSE(generator.generate({}, p));
    EXPECT_FALSE(generator.errorString().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SupportRefusal,
    ::testing::Values(RefusalRow{"diameterZero", 0.0f, 2.0f, 0, "diameter"},
                      RefusalRow{"diameterNegative", -0.4f, 2.0f, 0, "diameter"},
                      RefusalRow{"diameterTinyForTheModel", 1e-5f, 2.0f, 0, "too small"},
                      RefusalRow{"gapZero", 0.8f, 0.0f, 0, "gap"},
                      // A 10 mm sphere at 0.01 mm gaps: about 400,000 candidate points.
                      RefusalRow{"gapGivingTooManyCandidates", 0.8f, 0.01f, 0, "at least"},
                      RefusalRow{"unknownMethod", 0.8f, 2.0f, 2, "method"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SupportGeneration, DamagedMeshIsRefused)
{
    fixtures::MeshData mesh = fixtures::box({-5, -5, 5}, {5, 5, 6});
    mesh.faces.push_back(Face{{0, 1, 99}});
    auto model = fixtures::makeModel(mesh);
    const SupportJobResult r = generateSupportsForModel(*model, tableParams(), nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("damaged")));
    OverhangFinder finder(*model);
    EXPECT_FALSE(finder.find(tableParams()));
    SupportGenerator generator(*model);
    EXPECT_FALSE(generator.generate({}, tableParams()));
}

TEST(SupportGeneration, LiftsTheModelToTheSupportHeightUnlessItHasSupports)
{
    auto model = fixtures::makeModel(fixtures::sphere({0, 0, 3}, 3, 12, 16));
    SupportParameters p = tableParams();
    p.hasSupports = false;
    p.supportHeight = 6.0f;
    ASSERT_TRUE(generateSupportsForModel(*model, p, nullptr).ok);
    EXPECT_FLOAT_EQ(model->boundingBox().min.z, 6.0f);
    EXPECT_GT(model->overhangs().size(), 0u);
    for (const auto &o : model->overhangs())
        EXPECT_GE(o->position().z, 6.0f - 1e-4f);
}

TEST(SupportGeneration, KeepsTheGridOnVerticalMovesAndDropsItOnHorizontalOnes)
{
    auto model = fixtures::makeModel(fixtures::sphere({0, 0, 12}, 5, 16, 24));
    SupportParameters p = tableParams();
    p.supportGaps = 2.0f;
    ASSERT_TRUE(generateSupportsForModel(*model, p, nullptr).ok);
    auto *state = dynamic_cast<SupportGeneratorState *>(model->supportGeneratorState());
    ASSERT_TRUE(state);
    const auto grid = state->grid();
    ASSERT_TRUE(grid);
    const auto firstParts = model->support()->parts.size();

    SupportGenerator again(*model);
    ASSERT_TRUE(again.generate(model->overhangs(), p));
    EXPECT_EQ(state->grid(), grid);
    EXPECT_EQ(again.result()->parts.size(), firstParts);

    model->transform(translationMatrix(0, 0, 1));
    EXPECT_EQ(state->grid(), grid);
    model->transform(translationMatrix(1, 0, 0));
    EXPECT_FALSE(state->grid());
}

TEST(SupportGeneration, MovedModelGetsPathsAtItsNewPlace)
{
    auto model = table();
    ASSERT_TRUE(generateSupportsForModel(*model, tableParams(), nullptr).ok);
    model->transform(translationMatrix(0.5f, 0, 0));
    SupportGenerator generator(*model);
    ASSERT_TRUE(generator.generate(model->overhangs(), tableParams()));
    for (const auto &o : model->overhangs())
        EXPECT_EQ(o->tip()->start(), o->position());
}

TEST(SupportGeneration, RadiusChangeRecomputesPaths)
{
    auto model = table();
    ASSERT_TRUE(generateSupportsForModel(*model, tableParams(), nullptr).ok);
    SupportParameters p = tableParams();
    p.supportRadius = 0.3f;
    SupportGenerator generator(*model);
    ASSERT_TRUE(generator.generate(model->overhangs(), p));
    for (const auto &o : model->overhangs())
        EXPECT_FLOAT_EQ(o->tip()->endRadius(), 0.3f);
    auto column = std::dynamic_pointer_cast<Cylinder>(generator.result()->parts[25]);
    ASSERT_TRUE(column);
    EXPECT_FLOAT_EQ(column->firstRadius(), 0.3f);
}

TEST(SupportGeneration, LinksComeWithTheirEndBalls)
{
    // A slab hovering just above a block: the columns would be too short, so links replace them.
    fixtures::MeshData mesh = fixtures::box({-10, -10, 20}, {10, 10, 22});
    mesh.append(fixtures::box({-6, -6, 0}, {6, 6, 16.5f}));
    auto model = fixtures::makeModel(mesh);
    SupportParameters p = tableParams();
    ASSERT_TRUE(generateSupportsForModel(*model, p, nullptr).ok);
    int links = 0;
    const auto &parts = model->support()->parts;
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (auto link = std::dynamic_pointer_cast<ThinTip>(parts[i])) {
            ++links;
            ASSERT_LT(i + 1, parts.size());
            EXPECT_EQ(parts[i + 1], link->endSphere());
            EXPECT_FLOAT_EQ(link->contact().z, 16.5f);
        }
    EXPECT_GT(links, 0);
}

TEST(SupportGeneration, ReportsProgressUnderItsStageNames)
{
    auto model = table();
    IProgressable root;
    QStringList stages;
    int last = -1;
    root.setCallback([&](int percent, const QString &stage, bool) {
        if (!stages.contains(stage))
            stages << stage;
        last = percent;
    });
    ASSERT_TRUE(generateSupportsForModel(*model, tableParams(), &root).ok);
    EXPECT_TRUE(stages.contains(QStringLiteral("SupportCalucate")));
    EXPECT_TRUE(stages.contains(QStringLiteral("ctlSupportGenaration")));
    EXPECT_EQ(last, 100);
}

TEST(SupportGeneration, CancelStopsTheRun)
{
    auto model = table();
    IProgressable root;
    root.setCancel(true);
    const SupportJobResult r = generateSupportsForModel(*model, tableParams(), &root);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral("Canceled"));
}

TEST(OverhangDetection, FaceTouchingThePlatformGetsNoPoint)
{
    auto model = fixtures::makeModel(fixtures::box({-5, -5, 0}, {5, 5, 5}));
    OverhangFinder finder(*model);
    ASSERT_TRUE(finder.find(tableParams()));
    EXPECT_TRUE(finder.result().empty());
}

TEST(OverhangDetection, CandidatesExactlyOneGapApartAreBothAccepted)
{
    // A plate 10 mm up whose underside holds grid points 4 mm apart.
    auto model = fixtures::makeModel(fixtures::box({-1, -1, 10}, {5, 1, 11}));
    OverhangFinder finder(*model);
    ASSERT_TRUE(finder.find(tableParams()));
    ASSERT_EQ(finder.result().size(), 2u);
    EXPECT_EQ(finder.result()[0]->position(), (Point3f{0, 0, 10}));
    EXPECT_EQ(finder.result()[1]->position(), (Point3f{4, 0, 10}));
}

TEST(OverhangDetection, CubeOnItsCornerGetsItsLowestCornerFirst)
{
    fixtures::MeshData cube = fixtures::box({-3, -3, -3}, {3, 3, 3});
    // Turn the cube so that a corner points straight down, then lift it.
    const Vec3f d = Vec3f{1, 1, 1}.normalized();
    const Vec3f down{0, 0, -1};
    const Vec3f axis = d.cross(down * -1.0f).normalized();
    const float angle = std::acos(d.dot(Vec3f{0, 0, -1}) * -1.0f);
    for (Vec3f &v : cube.vertices) {
        const Vec3f k = axis;
        v = v * std::cos(angle) + k.cross(v) * std::sin(angle) +
            k * (k.dot(v) * (1 - std::cos(angle)));
        v.z += 15.0f;
    }
    auto model = fixtures::makeModel(cube);
    OverhangFinder finder(*model);
    ASSERT_TRUE(finder.find(tableParams()));
    ASSERT_FALSE(finder.result().empty());
    EXPECT_NEAR(finder.result()[0]->position().z, model->boundingBox().min.z, 1e-4);
    for (std::size_t i = 1; i < finder.result().size(); ++i)
        EXPECT_GE((finder.result()[i]->position() - finder.result()[0]->position()).length(), 4.0f);
}

TEST(OverhangDetection, FortyFiveDegreeFaceGetsNoPoint)
{
    fixtures::MeshData ramp;
    ramp.vertices = {{-5, -5, 10}, {5, -5, 10}, {5, 5, 20}, {-5, 5, 20}};
    ramp.faces = {Face{{0, 2, 1}}, Face{{0, 3, 2}}}; // normals (0, 0.7071, -0.7071)
    auto model = fixtures::makeModel(ramp);
    OverhangFinder finder(*model);
    ASSERT_TRUE(finder.find(tableParams()));
    EXPECT_TRUE(finder.result().empty());
}

TEST(OverhangDetection, RunningTwiceGivesTheSameList)
{
    auto model = fixtures::makeModel(fixtures::torus({0, 0, 8}, 10, 3, 48, 24));
    OverhangFinder finder(*model);
    SupportParameters p = tableParams();
    p.supportGaps = 2.0f;
    ASSERT_TRUE(finder.find(p));
    const OverhangList first = finder.result();
    ASSERT_TRUE(finder.find(p));
    ASSERT_EQ(first.size(), finder.result().size());
    ASSERT_FALSE(first.empty());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i]->position(), finder.result()[i]->position());
        EXPECT_EQ(first[i]->direction(), finder.result()[i]->direction());
    }
}

TEST(OverhangDetection, ManualPointIsRoutedAndAppended)
{
    auto model = table();
    model->supportParameters() = tableParams();
    EXPECT_FALSE(addManualOverhang(*model, {0, 0, 0.1f}, {0, 0, -1}));
    auto o = addManualOverhang(*model, {1, 1, 5}, {0, 0, -2});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->direction(), (Vec3f{0, 0, -1}));
    ASSERT_EQ(model->overhangs().size(), 1u);
    EXPECT_EQ(model->overhangs()[0], o);
    EXPECT_TRUE(o->nail());
}

TEST(OverhangDetection, DisplayRuleUsesFortyDegreesAndTheLowestCorner)
{
    fixtures::MeshData m;
    m.vertices = {{0, 0, 5}, {0, 1, 5}, {1, 0, 5},    {0, 0, 0}, {0, 1, 1},
                  {1, 0, 1}, {0, 0, 5}, {0, 1, 5.9f}, {1, 0, 5}};
    m.faces = {Face{{0, 1, 2}}, Face{{3, 4, 5}}, Face{{6, 7, 8}}};
    auto model = fixtures::makeModel(m);
    EXPECT_TRUE(isOverhangFaceForDisplay(*model, 0));  // straight down, above the platform
    EXPECT_FALSE(isOverhangFaceForDisplay(*model, 1)); // touches z = 0
    EXPECT_FALSE(isOverhangFaceForDisplay(*model, 2)); // tilted 42 degrees from straight down
}

} // namespace

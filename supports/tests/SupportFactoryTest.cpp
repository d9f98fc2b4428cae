#include "SupportFixtures.h"
#include "testsupport/SupportParams.h"

#include "supports/DCylider.h"
#include "supports/DModelMap.h"
#include "supports/DNail.h"
#include "supports/DSphere.h"
#include "supports/DSupportFactory.h"
#include "supports/DTip.h"
#include "supports/SupportGenerator.h"
#include "supports/SupportMath.h"

#include "geometry/IProgressable.h"

#include <QLoggingCategory>
#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

namespace
{

// Collects the factory's debug lines while it lives.
class FactoryLog
{
  public:
    FactoryLog()
    {
        s_lines = &m_lines;
        QLoggingCategory::setFilterRules(QStringLiteral("dcore.sfactory.debug=true"));
        m_previous = qInstallMessageHandler(&FactoryLog::handle);
    }
    ~FactoryLog()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
        s_lines = nullptr;
    }
    const QStringList &lines() const { return m_lines; }
    int count(const QString &text) const { return m_lines.filter(text).size(); }

  private:
    static void handle(QtMsgType, const QMessageLogContext &context, const QString &text)
    {
        if (s_lines && context.category && QByteArray(context.category) == "dcore.sfactory")
            s_lines->append(text);
    }
    static QStringList *s_lines;
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};
QStringList *FactoryLog::s_lines = nullptr;

SupportParameters factoryParams()
{
    SupportParameters p = testsupport::mediumSupportParameters();
    p.method = 1;
    return p;
}

// A block far away from the supports under test: it gives the model its height (30 mm) and keeps
// the map away from the overhangs.
std::shared_ptr<Model> farBlock()
{
    return fixtures::makeModel(fixtures::box({30, 10, 0}, {34, 14, 30}));
}

OverhangList overhangsAt(std::initializer_list<Point3f> points)
{
    OverhangList list;
    for (const Point3f &p : points)
        list.push_back(std::make_shared<Overhang>(p, Vec3f{0, 0, -1}, 0.3f, 0.2f));
    return list;
}

template <typename T> std::vector<std::shared_ptr<T>> partsOf(const DSupportFactory &f)
{
    std::vector<std::shared_ptr<T>> out;
    for (const auto &part : f.result())
        if (auto typed = std::dynamic_pointer_cast<T>(part))
            out.push_back(typed);
    return out;
}

bool finite(const Mesh3D &mesh)
{
    for (const Vec3f &v : mesh.vertices())
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
            return false;
    return true;
}

// ---- An overhang over open space.

struct OpenSpaceRow {
    const char *name;
    float height;
    bool column; // a column stands below the tip (else the tip already reaches the platform)
};

class OpenSpace : public ::testing::TestWithParam<OpenSpaceRow>
{
};

TEST_P(OpenSpace, TheBestCandidateIsStraightBelowAndTheColumnReachesThePlatform)
{
    const OpenSpaceRow &row = GetParam();
    auto model = farBlock();
    const Point3f p{0, 0, row.height};
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({p})));
    ASSERT_EQ(factory.overhangs().size(), 1u);
    const DTipStruct &search = factory.overhangs()[0].tipSearch();
    // Every offset of the 0.5 mm grid within 45 degrees of straight below: 21 of them.
    ASSERT_EQ(search.candidates.size(), 21u);
    for (const DTipCandidate &c : search.candidates) {
        const Vec3f toTop = c.top() - p;
        EXPECT_NEAR(toTop.length(), 2.0f, 1e-5f);
        EXPECT_EQ(c.bottomZ, 0.0f);
    }
    ASSERT_TRUE(factory.overhangs()[0].hasChosen());
    const DTipCandidate &best = factory.overhangs()[0].chosen();
    EXPECT_EQ(best.x, 0.0f);
    EXPECT_EQ(best.y, 0.0f);
    EXPECT_FLOAT_EQ(best.length, row.height - 2.0f);

    const auto tips = partsOf<DTip>(factory);
    ASSERT_GE(tips.size(), 1u);
    EXPECT_EQ(tips[0]->start(), p);
    EXPECT_EQ(tips[0]->endPoint(), (Point3f{0, 0, row.height - 2.0f}));
    const auto nails = partsOf<DNail>(factory);
    if (row.column) {
        ASSERT_EQ(nails.size(), 1u);
        EXPECT_EQ(nails[0]->bottom(), (Point3f{0, 0, 0}));
        EXPECT_EQ(nails[0]->top(), tips[0]->endPoint());
    } else {
        EXPECT_TRUE(nails.empty()) << "a column of zero length is left out";
    }
    for (const auto &part : factory.result())
        EXPECT_TRUE(finite(*part));
}

INSTANTIATE_TEST_SUITE_P(Rows, OpenSpace,
                         ::testing::Values(OpenSpaceRow{"twoAboveThePlatform", 2.0f, false},
                                           OpenSpaceRow{"twelveAboveThePlatform", 12.0f, true}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Braces.

TEST(SupportFactory, TwoColumnsThreeApartGetAParallelLadderFrom2Point5)
{
    auto model = farBlock();
    FactoryLog log;
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 22}, {3, 0, 22}})));
    ASSERT_EQ(factory.columns().size(), 2u);
    for (const DFactoryColumn &c : factory.columns()) {
        EXPECT_EQ(c.nail->bottomZ(), 0.0f);
        EXPECT_EQ(c.nail->topZ(), 20.0f);
    }
    std::vector<std::shared_ptr<DCylider>> braces;
    for (const auto &part : factory.result()) {
        auto rod = std::dynamic_pointer_cast<DCylider>(part);
        if (!rod || std::dynamic_pointer_cast<DTip>(part) || std::dynamic_pointer_cast<DNail>(part))
            break; // braces come first
        braces.push_back(rod);
    }
    ASSERT_EQ(braces.size(), 5u);
    for (std::size_t k = 0; k < braces.size(); ++k) {
        const DCylider &b = *braces[k];
        const float low = 2.5f + 3.0f * static_cast<float>(k);
        // First ring on the column that is not the lower one (here the first column).
        EXPECT_EQ(b.firstCentre(), (Point3f{0, 0, low + 3.0f})) << k;
        EXPECT_EQ(b.secondCentre(), (Point3f{3, 0, low})) << k;
        EXPECT_FLOAT_EQ(b.firstRadius(), 0.35f);
        EXPECT_EQ(b.segments(), 6);
    }
    EXPECT_EQ(log.count(QStringLiteral("creat beam success:")), 1);
    EXPECT_EQ(log.count(QStringLiteral("have pair")), 1) << "the second column finds the pair";
}

TEST(SupportFactory, AnIsolatedColumnGetsNoLadder)
{
    auto model = farBlock();
    FactoryLog log;
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 22}})));
    ASSERT_EQ(factory.columns().size(), 1u);
    EXPECT_EQ(log.count(QStringLiteral("nail==target")), 1);
    EXPECT_EQ(log.count(QStringLiteral("creat beam success:")), 0);
    EXPECT_EQ(log.count(QStringLiteral("-----begin calculate support.-----")), 1);
    EXPECT_EQ(log.count(QStringLiteral("nails number: 21")), 1);
}

TEST(SupportFactory, TouchingRangesAreTheInitialTargetButPassedOverAsDislocation)
{
    auto model = farBlock();
    FactoryLog log;
    DSupportFactory factory(*model, factoryParams());
    std::vector<DFactoryColumn> columns;
    columns.push_back({std::make_shared<DNail>(Point3f{0, 0, 10}, Point3f{0, 0, 0}, 0.4f), {}});
    columns.push_back({std::make_shared<DNail>(Point3f{2, 0, 20}, Point3f{2, 0, 10}, 0.4f), {}});
    const auto braces = factory.buildBraces(columns);
    EXPECT_EQ(log.count(QStringLiteral("dislocation")), 2);
    // The first column braces to the second, its initial target: one brace reaches the upper
    // column's range (from 8.5 on the lower to 10.5 on the upper).
    ASSERT_EQ(braces.size(), 1u);
    const auto &b = static_cast<const DCylider &>(*braces[0]);
    EXPECT_EQ(b.firstCentre(), (Point3f{2, 0, 10.5f}));
    EXPECT_EQ(b.secondCentre(), (Point3f{0, 0, 8.5f}));
    ASSERT_EQ(columns[0].braced, std::vector<int>{1});
    EXPECT_EQ(log.count(QStringLiteral("have pair")), 0);
}

// Ladders between hand-made columns: which column is the lower one, where braces stop, and
// partners that cannot take a ladder.
struct LadderRow {
    const char *name;
    std::vector<std::array<float, 4>> columns; // x, y, bottom z, top z
    std::size_t braces;
    const char *logLine; // a line the run must log
    float firstStartZ;   // z of the first brace's end on the lower column (when braces > 0)
};

class Ladders : public ::testing::TestWithParam<LadderRow>
{
};

TEST_P(Ladders, FollowTheColumnsHeights)
{
    const LadderRow &row = GetParam();
    auto model = farBlock();
    FactoryLog log;
    DSupportFactory factory(*model, factoryParams());
    std::vector<DFactoryColumn> columns;
    for (const auto &c : row.columns)
        columns.push_back(
            {std::make_shared<DNail>(Point3f{c[0], c[1], c[3]}, Point3f{c[0], c[1], c[2]}, 0.4f),
             {}});
    const auto braces = factory.buildBraces(columns);
    EXPECT_EQ(braces.size(), row.braces);
    EXPECT_GE(log.count(QLatin1String(row.logLine)), 1) << qPrintable(log.lines().join('\n'));
    if (!braces.empty()) {
        EXPECT_FLOAT_EQ(static_cast<const DCylider &>(*braces[0]).secondCentre().z,
                        row.firstStartZ);
    }
    for (std::size_t k = 0; k < braces.size(); ++k) {
        const auto &b = static_cast<const DCylider &>(*braces[k]);
        // Every brace rises at 45 degrees.
        EXPECT_FLOAT_EQ(b.firstCentre().z - b.secondCentre().z,
                        SupportMath::horizontalDistance(b.firstCentre(), b.secondCentre()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Ladders,
    ::testing::Values(
        LadderRow{"lowerTopStartsTheBraces",
                  {{0, 0, 0, 10}, {3, 0, 0, 20}},
                  3,
                  "creat beam success:",
                  2.5f},
        // The lower bottom starts the braces; those ending below the other column's bottom
        // are left out.
        LadderRow{"braceBelowTheOtherColumnIsLeftOut",
                  {{0, 0, 10, 30}, {0, 4, 0, 30}},
                  5,
                  "creat beam success:",
                  6.5f},
        LadderRow{"tooShortForALadder",
                  {{0, 0, 0, 5}, {3, 0, 0, 5}},
                  0,
                  "start maxz+end.minz to short",
                  0.0f},
        LadderRow{"partnerTooShort", {{0, 0, 0, 10}, {3, 0, 0, 2}}, 0, "near to short", 0.0f},
        LadderRow{"noOverlap", {{0, 0, 0, 10}, {3, 0, 12, 20}}, 0, "nail==target", 0.0f}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SupportFactory, LeavesTheProcessLoggingRulesAlone)
{
    QLoggingCategory::setFilterRules(QString());
    EXPECT_FALSE(lcSupportFactory().isDebugEnabled()) << "off unless a rule turns it on";
    QLoggingCategory::setFilterRules(QStringLiteral("dcore.sfactory.debug=true"));
    auto model = farBlock();
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 22}})));
    EXPECT_TRUE(lcSupportFactory().isDebugEnabled()) << "a rule set by the process still holds";
    QLoggingCategory::setFilterRules(QString());
}

// ---- Short columns and feet.

TEST(SupportFactory, AColumnOf0Point8IsAShortRodWithABallOnTop)
{
    auto model = farBlock();
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{5, 5, 2.8f}})));
    EXPECT_TRUE(factory.columns().empty());
    const auto rods = partsOf<DTip>(factory);
    ASSERT_EQ(rods.size(), 2u); // the tip, then the short rod
    const DTip &rod = *rods[1];
    EXPECT_EQ(rod.start(), (Point3f{5, 5, 0}));
    EXPECT_FLOAT_EQ(rod.endPoint().z, 0.8f);
    const auto balls = partsOf<DSphere>(factory);
    ASSERT_EQ(balls.size(), 2u); // the tip's ball and the short rod's
    EXPECT_EQ(balls[1]->centre(), rod.endPoint());
    EXPECT_EQ(balls[1]->radius(), rod.endRadius());
}

TEST(SupportFactory, AColumnStandingOnTheModelGetsAFootConeAndEndsOnItsTop)
{
    // A slab from z 0 to 8 under the overhang: the column lands on its top.
    auto model = fixtures::makeModel(fixtures::box({-6, -6, 0}, {6, 6, 8}));
    model->vertices().push_back({40, 40, 30}); // the model reaches 30 high (a loose vertex)
    model->recomputeBounds();
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 20}})));
    ASSERT_EQ(factory.columns().size(), 1u);
    const DNail &column = *factory.columns()[0].nail;
    EXPECT_FLOAT_EQ(column.bottomZ(), 9.0f);
    EXPECT_FLOAT_EQ(column.topZ(), 18.0f);
    const auto cones = partsOf<DTip>(factory);
    ASSERT_EQ(cones.size(), 2u); // tip, foot cone
    EXPECT_FLOAT_EQ(cones[1]->start().z, 8.0f);
    EXPECT_FLOAT_EQ(cones[1]->endPoint().z, 9.0f);
    EXPECT_FLOAT_EQ(cones[1]->firstRadius(), 0.2f);
    EXPECT_FLOAT_EQ(cones[1]->endRadius(), 0.4f);
}

// ---- Result order, base and progress.

TEST(SupportFactory, PartsComeInOrderAndTheBaseCoversColumnsAndModel)
{
    auto model = farBlock();
    struct Progress : IProgressable {
        QStringList stages;
        std::vector<int> percents;
    } progress;
    progress.setCallback([&progress](int percent, const QString &stage, bool) {
        progress.percents.push_back(percent);
        if (progress.stages.isEmpty() || progress.stages.last() != stage)
            progress.stages << stage;
    });
    DSupportFactory factory(*model, factoryParams(), &progress);
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 22}, {3, 0, 22}, {5, 5, 2.8f}})));
    // braces, balls, columns, tips, short rods and cones, base
    auto rank = [](const std::shared_ptr<Mesh3D> &p) {
        if (std::dynamic_pointer_cast<DNail>(p))
            return 2;
        if (std::dynamic_pointer_cast<DTip>(p))
            return 3;
        if (std::dynamic_pointer_cast<DCylider>(p))
            return 0;
        if (std::dynamic_pointer_cast<DSphere>(p))
            return 1;
        return 5;
    };
    std::vector<int> ranks;
    for (const auto &part : factory.result())
        ranks.push_back(rank(part));
    EXPECT_TRUE(std::is_sorted(ranks.begin(), ranks.end()));
    ASSERT_EQ(ranks.back(), 5);
    const Box3f &base = factory.result().back()->boundingBox();
    EXPECT_LE(base.min.x, -0.34f); // the corners of the first column's rings
    EXPECT_GE(base.max.x, 34.0f);  // the model's box
    EXPECT_GE(base.max.y, 14.0f);
    EXPECT_FLOAT_EQ(base.max.z, 1.2f);
    EXPECT_EQ(progress.stages, (QStringList{"ctlSupportGenaration", "ctlSupportBaseGenaration"}));
    EXPECT_EQ(progress.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));
}

TEST(SupportFactory, BaseMode2GivesNoBase)
{
    auto model = farBlock();
    SupportParameters p = factoryParams();
    p.baseMode = 2;
    DSupportFactory factory(*model, p);
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 22}})));
    for (const auto &part : factory.result())
        EXPECT_NE(part->baseName(), QStringLiteral("SupportBase"));
}

// ---- Pieces the written steps cannot build.

TEST(SupportFactory, ColumnsAtTheSameXAndYGetNoBrace)
{
    auto model = farBlock();
    FactoryLog log;
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 22}, {0, 0, 14}})));
    ASSERT_EQ(factory.columns().size(), 2u);
    EXPECT_GE(log.count(QStringLiteral("columns in the same place")), 1);
    for (const auto &part : factory.result()) {
        EXPECT_TRUE(finite(*part));
        EXPECT_FALSE(std::dynamic_pointer_cast<DCylider>(part) &&
                     !std::dynamic_pointer_cast<DTip>(part) &&
                     !std::dynamic_pointer_cast<DNail>(part))
            << "a brace between columns in the same place";
    }
}

TEST(SupportFactory, AFlatModelOfNoHeightStillHasAMapAndFiniteSupports)
{
    // A single square sheet at z 6 facing down: no extent in z.
    fixtures::MeshData sheet;
    sheet.vertices = {{-5, -5, 6}, {5, -5, 6}, {5, 5, 6}, {-5, 5, 6}};
    sheet.faces = {Face{{0, 2, 1}}, Face{{0, 3, 2}}};
    auto model = fixtures::makeModel(sheet);
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 6}, {3, 0, 6}})));
    EXPECT_EQ(factory.modelMap().cellCount(2), 1);
    EXPECT_EQ(factory.columns().size(), 2u);
    for (const auto &part : factory.result())
        EXPECT_TRUE(finite(*part));
}

TEST(SupportFactory, TipsEndingBelowThePlatformAreNotCandidates)
{
    auto model = farBlock();
    FactoryLog log;
    DSupportFactory factory(*model, factoryParams());
    // 1.9 above the platform: only the grid points far enough out end at or above z 0.
    ASSERT_TRUE(factory.run(overhangsAt({{0, 0, 1.9f}, {5, 0, 0.5f}})));
    for (const DTipCandidate &c : factory.overhangs()[0].tipSearch().candidates)
        EXPECT_GE(c.top().z, 0.0f);
    EXPECT_FALSE(factory.overhangs()[0].tipSearch().candidates.empty());
    EXPECT_TRUE(factory.overhangs()[1].tipSearch().candidates.empty());
    EXPECT_EQ(log.count(QStringLiteral("have no nail=-=-")), 1);
    for (const auto &part : factory.result())
        EXPECT_GE(part->boundingBox().min.z, -0.4f) << "nothing reaches into the platform";
}

TEST(SupportFactory, AnOverhangWithANonFinitePositionGetsNothing)
{
    auto model = farBlock();
    DSupportFactory factory(*model, factoryParams());
    ASSERT_TRUE(factory.run(overhangsAt({{NAN, 0, 10}, {0, INFINITY, 10}})));
    for (const auto &part : factory.result())
        EXPECT_TRUE(finite(*part));
    EXPECT_TRUE(factory.columns().empty());
}

TEST(SupportFactory, CancelStopsTheRun)
{
    auto model = farBlock();
    IProgressable progress;
    progress.setCancel(true);
    DSupportFactory factory(*model, factoryParams(), &progress);
    EXPECT_FALSE(factory.run(overhangsAt({{0, 0, 22}})));
}

// ---- The model map.

struct RayRow {
    const char *name;
    Vec3f origin, direction;
    bool hit;
};

class MapRayTest : public ::testing::TestWithParam<RayRow>
{
};

TEST_P(MapRayTest, OnlyRaysAgainstTheWindingHit)
{
    // Wound counter-clockwise seen from above: (e1 x e2) points up.
    const Vec3f f0{0, 0, 0}, f1{4, 0, 0}, f2{0, 4, 0};
    float t = -1;
    EXPECT_EQ(DModelMap::rayTest(GetParam().origin, GetParam().direction, f0, f1, f2, &t),
              GetParam().hit);
}

INSTANTIATE_TEST_SUITE_P(Rows, MapRayTest,
                         ::testing::Values(RayRow{"downOntoTheFront", {1, 1, 5}, {0, 0, -10}, true},
                                           RayRow{
                                               "upThroughTheBack", {1, 1, -5}, {0, 0, 10}, false},
                                           RayRow{"edgeOn", {-1, 1, 0}, {10, 0, 0}, false},
                                           RayRow{"besideTheFace", {5, 5, 5}, {0, 0, -10}, false},
                                           RayRow{"pointingAway", {1, 1, 5}, {0, 0, 10}, false}),
                         [](const auto &info) { return std::string(info.param.name); });

class MapModes : public ::testing::TestWithParam<QueryMode>
{
};

TEST_P(MapModes, ASegmentLeavingTheModelIsNotBlockedByTheFaceItLeavesThrough)
{
    auto cube = fixtures::makeModel(fixtures::box({0, 0, 0}, {10, 10, 10}));
    const DModelMap map(cube->vertices(), cube->faces(), cube->faceNormals(), GetParam());
    Point3f hit;
    EXPECT_FALSE(map.segmentBlocked({5, 5, 5}, {5, 5, 15}, &hit));
    EXPECT_FALSE(map.segmentBlocked({5, 5, 5}, {-5, 5, 5}, &hit));
    ASSERT_TRUE(map.segmentBlocked({5, 5, 15}, {5, 5, 5}, &hit)) << "entering from outside";
    EXPECT_EQ(hit, (Point3f{5, 5, 10}));
    // The first hit only tests faces facing up: the top face seen from above.
    ASSERT_TRUE(map.firstHit({5, 5, 14}, {5, 5, 10.5f}, &hit)) << "hits beyond the end count";
    EXPECT_EQ(hit, (Point3f{5, 5, 10}));
    EXPECT_FALSE(map.firstHit({5, 5, -5}, {5, 5, 5}, &hit)) << "the bottom faces down";
}

TEST_P(MapModes, ASegmentBesideTheModelTestsNoFaces)
{
    auto cube = fixtures::makeModel(fixtures::box({0, 0, 0}, {10, 10, 10}));
    const DModelMap map(cube->vertices(), cube->faces(), cube->faceNormals(), GetParam());
    EXPECT_EQ(map.cellCount(0), 3);
    Point3f hit;
    int tested = 0;
    EXPECT_FALSE(map.segmentBlocked({20, 20, 5}, {30, 30, 5}, &hit, &tested));
    EXPECT_FALSE(map.segmentBlocked({-20, 5, 5}, {-5, 5, 5}, &hit, &tested));
    EXPECT_FALSE(map.firstHit({5, 5, 40}, {5, 5, 20}, &hit, &tested));
    EXPECT_EQ(tested, 0);
    // Half outside: only the cells inside the grid are visited.
    EXPECT_TRUE(map.segmentBlocked({-20, 5, 5}, {5, 5, 5}, &hit, &tested));
    EXPECT_GT(tested, 0);
    EXPECT_EQ(hit, (Point3f{0, 5, 5}));
}

TEST_P(MapModes, FacesAreListedInEveryCellTheirRoundedBoxOverlaps)
{
    fixtures::MeshData m;
    m.vertices = {{0, 0, 0},          {12, 0, 0},         {0, 12, 12},
                  {3.5f, 0.2f, 0.1f}, {4.5f, 0.2f, 0.1f}, {4, 1, 0.5f}};
    m.faces = {Face{{0, 1, 2}}, Face{{3, 4, 5}}};
    auto model = fixtures::makeModel(m);
    const DModelMap map(model->vertices(), model->faces(), model->faceNormals(), GetParam());
    ASSERT_EQ(map.cellCount(0), 3);
    // The small face lies in x 3.5 .. 4.5, rounded to 3 .. 5: cells 0 and 1 in x.
    EXPECT_EQ(map.cellFaces(0, 0, 0), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(map.cellFaces(1, 0, 0), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(map.cellFaces(2, 0, 0), (std::vector<std::uint32_t>{0}));
    // The big face reaches 12, exactly the grid's end: it stays in the last cell.
    EXPECT_EQ(map.cellFaces(2, 2, 2), (std::vector<std::uint32_t>{0}));
    EXPECT_TRUE(map.cellFaces(3, 0, 0).empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, MapModes,
                         ::testing::Values(QueryMode::Reference, QueryMode::Indexed),
                         [](const auto &info) {
                             return std::string(info.param == QueryMode::Reference ? "Reference"
                                                                                   : "Indexed");
                         });

// ---- The generator hands method B to the factory.

TEST(SupportFactory, TheGeneratorRunsMethodBAndStillRefusesUnknownMethods)
{
    auto model = farBlock();
    SupportGenerator generator(*model);
    ASSERT_TRUE(generator.generate(overhangsAt({{0, 0, 22}}), factoryParams()))
        << generator.errorString().toStdString();
    ASSERT_TRUE(generator.result());
    EXPECT_TRUE(std::dynamic_pointer_cast<DNail>(generator.result()->parts[1]));
    SupportParameters p = factoryParams();
    p.method = 2;
    EXPECT_FALSE(generator.generate({}, p));
    EXPECT_TRUE(generator.errorString().contains(QStringLiteral("method 2")));
}

} // namespace

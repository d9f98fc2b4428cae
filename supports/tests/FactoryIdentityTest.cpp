#include "SupportFixtures.h"
#include "testsupport/SupportParams.h"

#include "supports/DModelMap.h"
#include "supports/DNail.h"
#include "supports/DSupportFactory.h"
#include "supports/SupportJob.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <typeinfo>

// The support factory's fast model map and parallel tip searches against the written cell walk
// run one search after the other: the same parts, in the same order, with the same vertices to
// the bit.
namespace
{

struct IdentityRow {
    const char *name;
    std::function<fixtures::MeshData()> mesh;
    bool lift;
};

SupportParameters methodB(bool lift)
{
    SupportParameters p = testsupport::mediumSupportParameters();
    p.method = 1;
    p.hasSupports = !lift;
    return p;
}

bool sameBits(const std::vector<Vec3f> &a, const std::vector<Vec3f> &b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Vec3f)) == 0);
}

class FactoryIdentity : public ::testing::TestWithParam<IdentityRow>
{
};

TEST_P(FactoryIdentity, FastRunMatchesTheWrittenStepsBitForBit)
{
    const IdentityRow &row = GetParam();
    auto model = fixtures::makeModel(row.mesh());
    // The overhang points once (detection is not what is compared here).
    const SupportJobResult detected = generateSupportsForModel(*model, methodB(row.lift), nullptr);
    ASSERT_TRUE(detected.ok) << detected.error.toStdString();
    ASSERT_GT(detected.overhangs, 0);

    DSupportFactory reference(*model, methodB(row.lift), nullptr, QueryMode::Reference);
    DSupportFactory fast(*model, methodB(row.lift), nullptr, QueryMode::Indexed);
    ASSERT_TRUE(reference.run(model->overhangs()));
    ASSERT_TRUE(fast.run(model->overhangs()));
    const auto &pa = reference.result();
    const auto &pb = fast.result();
    ASSERT_EQ(pa.size(), pb.size());
    for (std::size_t i = 0; i < pa.size(); ++i) {
        ASSERT_EQ(typeid(*pa[i]), typeid(*pb[i])) << i;
        ASSERT_TRUE(sameBits(pa[i]->vertices(), pb[i]->vertices())) << i;
        ASSERT_EQ(pa[i]->faces(), pb[i]->faces()) << i;
    }
    // The generator's own run is the fast one.
    ASSERT_EQ(model->support()->parts.size(), pb.size());
    for (std::size_t i = 0; i < pb.size(); ++i)
        ASSERT_TRUE(sameBits(model->support()->parts[i]->vertices(), pb[i]->vertices())) << i;

    int candidates = 0, braces = 0;
    for (const DOverhang &o : reference.overhangs())
        candidates += static_cast<int>(o.tipSearch().candidates.size());
    for (const DFactoryColumn &c : reference.columns())
        braces += static_cast<int>(c.braced.size());
    std::printf("[ shape    ] %s: %d faces, %d overhangs, %d candidates, %zu columns, %d ladders, "
                "%zu parts\n",
                row.name, static_cast<int>(model->faces().size()), detected.overhangs, candidates,
                reference.columns().size(), braces, pa.size());
}

fixtures::MeshData archesAndHoles()
{
    fixtures::MeshData m = fixtures::vault(8, 10, 20, 48);
    m.append(fixtures::frame(34, 14, 14, 2));
    m.append(fixtures::box({-4, -30, 22}, {4, 26, 24})); // a long bar above both
    return m;
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, FactoryIdentity,
    ::testing::Values(IdentityRow{"sphere",
                                  [] {
                                      return fixtures::sphere({0, 0, 8}, 8, 40, 60);
                                  },
                                  true},
                      IdentityRow{"torusLyingFlat",
                                  [] {
                                      return fixtures::torus({0, 0, 3}, 12, 3, 96, 32);
                                  },
                                  true},
                      IdentityRow{"table", [] { return fixtures::table(24, 10, 2, 2); }, false},
                      IdentityRow{"archesAndHoles", archesAndHoles, false},
                      IdentityRow{"floatingAbovePlatform",
                                  [] {
                                      return fixtures::sphere({0, 0, 30}, 6, 30, 48);
                                  },
                                  false},
                      IdentityRow{"scannedBlob60kFaces",
                                  [] {
                                      return fixtures::blob({0, 0, 14}, 12, 150, 200, 7);
                                  },
                                  true}),
    [](const auto &info) { return std::string(info.param.name); });

// The worked cases together (open space, a 2.0 drop, a short column, columns in one place, a
// ladder, a column on the model) through both runs.
TEST(FactoryIdentity, TheWorkedCasesMatchToo)
{
    fixtures::MeshData mesh = fixtures::box({-6, -6, 0}, {6, 6, 8});
    mesh.append(fixtures::box({30, 10, 0}, {34, 14, 30}));
    auto model = fixtures::makeModel(mesh);
    OverhangList overhangs;
    for (const Point3f &p : std::initializer_list<Point3f>{{0, 0, 20},
                                                           {2, 2, 20},
                                                           {20, 0, 22},
                                                           {23, 0, 22},
                                                           {20, 0, 14},
                                                           {-20, 5, 2.8f},
                                                           {-20, -5, 2.0f}})
        overhangs.push_back(std::make_shared<Overhang>(p, Vec3f{0, 0, -1}, 0.3f, 0.2f));
    DSupportFactory reference(*model, methodB(true), nullptr, QueryMode::Reference);
    DSupportFactory fast(*model, methodB(true), nullptr, QueryMode::Indexed);
    ASSERT_TRUE(reference.run(overhangs));
    ASSERT_TRUE(fast.run(overhangs));
    ASSERT_EQ(reference.result().size(), fast.result().size());
    ASSERT_GT(reference.result().size(), 15u);
    for (std::size_t i = 0; i < reference.result().size(); ++i) {
        ASSERT_EQ(typeid(*reference.result()[i]), typeid(*fast.result()[i])) << i;
        ASSERT_TRUE(sameBits(reference.result()[i]->vertices(), fast.result()[i]->vertices())) << i;
    }
}

// The two queries on their own, on many segments through a lumpy mesh.
TEST(FactoryIdentity, MapQueriesAgreeOnManySegments)
{
    auto model = fixtures::makeModel(fixtures::blob({0, 0, 14}, 12, 80, 120, 3));
    const DModelMap slow(model->vertices(), model->faces(), model->faceNormals(),
                         QueryMode::Reference);
    const DModelMap fast(model->vertices(), model->faces(), model->faceNormals(),
                         QueryMode::Indexed);
    std::uint32_t state = 12345;
    auto next = [&state](float lo, float hi) {
        state = state * 1664525u + 1013904223u;
        return lo + (hi - lo) * static_cast<float>(state >> 8) / static_cast<float>(1u << 24);
    };
    int blocked = 0, hits = 0;
    for (int i = 0; i < 4000; ++i) {
        const Point3f a{next(-16, 16), next(-16, 16), next(-2, 30)};
        // Short segments like the tip's side lines, and long ones like the column checks.
        const float reach = i % 2 ? 3.0f : 20.0f;
        const Point3f b{a.x + next(-reach, reach), a.y + next(-reach, reach),
                        a.z + next(-reach, reach)};
        Point3f ha{}, hb{};
        const bool sa = slow.segmentBlocked(a, b, &ha);
        ASSERT_EQ(sa, fast.segmentBlocked(a, b, &hb)) << i;
        if (sa) {
            ASSERT_EQ(std::memcmp(&ha, &hb, sizeof ha), 0) << i;
            ++blocked;
        }
        const bool fa = slow.firstHit(a, b, &ha);
        ASSERT_EQ(fa, fast.firstHit(a, b, &hb)) << i;
        if (fa) {
            ASSERT_EQ(std::memcmp(&ha, &hb, sizeof ha), 0) << i;
            ++hits;
        }
    }
    EXPECT_GT(blocked, 200);
    EXPECT_GT(hits, 200);
}

} // namespace

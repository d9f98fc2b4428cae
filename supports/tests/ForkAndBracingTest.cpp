#include "supports/ForkBuilder.h"
#include "supports/MeshQuery.h"
#include "supports/SupportGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

SupportParameters params()
{
    SupportParameters p;
    p.supportRadius = 0.4f;
    return p;
}

struct ForkRow {
    const char *name;
    float partnerDistance;
    bool forked;
};

class ForkPartners : public ::testing::TestWithParam<std::tuple<ForkRow, QueryMode>>
{
};

TEST_P(ForkPartners, PartnerReachIs15)
{
    const ForkRow &row = std::get<0>(GetParam());
    const std::vector<Vec3f> vertices;
    const std::vector<Face> faces;
    const MeshQuery query(vertices, faces, std::get<1>(GetParam()));
    ForkBuilder forks(params(), query, nullptr, 0.0f);
    std::vector<std::shared_ptr<Nail>> nails{
        std::make_shared<Nail>(Point3f{0, 0, 100}, 0.4f),
        std::make_shared<Nail>(Point3f{row.partnerDistance, 0, 99}, 0.4f),
        std::make_shared<Nail>(Point3f{-row.partnerDistance, 0, 99}, 0.4f)};
    std::vector<bool> isCentre;
    ASSERT_TRUE(forks.buildForks(nails, isCentre, [](int, int) { return true; }));
    EXPECT_EQ(isCentre[0], row.forked);
    if (row.forked) {
        const Nail &c = *nails[0];
        ASSERT_EQ(c.beams.size(), 2u);
        EXPECT_TRUE(c.forked);
        EXPECT_FLOAT_EQ(c.bottomZ, c.beams[0].toHeight());
        EXPECT_NEAR(c.beams[0].toHeight() - c.beams[0].fromHeight(), 1.2f * row.partnerDistance,
                    1e-4);
        // The partners' span A now ends where their beams start.
        EXPECT_FLOAT_EQ(nails[1]->spanA.high, c.beams[0].fromHeight());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ForkPartners,
                         ::testing::Combine(::testing::Values(ForkRow{"at15", 15.0f, true},
                                                              ForkRow{"at15_01", 15.01f, false},
                                                              ForkRow{"sameAxis", 0.0f, false}),
                                            ::testing::Values(QueryMode::Reference,
                                                              QueryMode::Indexed)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == QueryMode::Reference ? "_reference"
                                                                                     : "_indexed");
                         });

struct BraceRow {
    const char *name;
    float distance;
    float heightA;
    float heightB;
    bool braced;
};

class Bracing : public ::testing::TestWithParam<std::tuple<BraceRow, QueryMode>>
{
};

TEST_P(Bracing, JoinsCloseTallColumns)
{
    const BraceRow &row = std::get<0>(GetParam());
    const std::vector<Vec3f> vertices;
    const std::vector<Face> faces;
    const MeshQuery query(vertices, faces, std::get<1>(GetParam()));
    const ForkBuilder forks(params(), query, nullptr, 0.0f);
    const std::vector<std::shared_ptr<Nail>> columns{
        std::make_shared<Nail>(Point3f{0, 0, row.heightA}, 0.4f),
        std::make_shared<Nail>(Point3f{row.distance, 0, row.heightB}, 0.4f)};
    const std::vector<Beam> beams = forks.buildBracing(columns);
    EXPECT_EQ(!beams.empty(), row.braced);
    for (const Beam &b : beams) {
        EXPECT_GT(b.from.z, 0.0f);
        EXPECT_LT(b.from.z, std::max(row.heightA, row.heightB));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Bracing,
    ::testing::Combine(::testing::Values(BraceRow{"apart15_9", 15.9f, 20, 20, true},
                                         BraceRow{"apart16", 16.0f, 20, 20, false},
                                         BraceRow{"oneOnly16Tall", 15.9f, 20, 16, false},
                                         BraceRow{"tallZigZag", 10.0f, 60, 60, true}),
                       ::testing::Values(QueryMode::Reference, QueryMode::Indexed)),
    [](const auto &info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == QueryMode::Reference ? "_reference" : "_indexed");
    });

TEST(Bracing, ZigZagsUpTallColumns)
{
    const std::vector<Vec3f> vertices;
    const std::vector<Face> faces;
    const MeshQuery query(vertices, faces);
    const ForkBuilder forks(params(), query, nullptr, 0.0f);
    const std::vector<std::shared_ptr<Nail>> columns{
        std::make_shared<Nail>(Point3f{0, 0, 60}, 0.4f),
        std::make_shared<Nail>(Point3f{10, 0, 60}, 0.4f)};
    const std::vector<Beam> beams = forks.buildBracing(columns);
    // d = 20, then 39.2 on the other column, e = d + 10 / 1.2; the third step starts above.
    ASSERT_EQ(beams.size(), 2u);
    EXPECT_FLOAT_EQ(beams[0].to.z, 20.0f);
    EXPECT_NEAR(beams[0].from.z, 20.0f + 10.0f / 1.2f, 1e-4);
    EXPECT_FLOAT_EQ(beams[1].to.z, 39.2f);
    EXPECT_NE(beams[0].from.x, beams[1].from.x);
}

} // namespace

namespace
{

TEST(ForkPartners, ColumnOnTheModelForksOntoVirtualColumns)
{
    for (QueryMode mode : {QueryMode::Reference, QueryMode::Indexed}) {
        const std::vector<Vec3f> vertices;
        const std::vector<Face> faces;
        const MeshQuery query(vertices, faces, mode);
        NailGrid grid;
        grid.x0 = -20.0f;
        grid.y0 = -2.0f;
        grid.cell = 10.0f;
        grid.columns = 5; // x = -20, -10, 0, 10, 20
        grid.rows = 1;
        grid.heights.assign(5, 60.0f);
        ForkBuilder forks(params(), query, &grid, 0.0f);
        auto centre = std::make_shared<Nail>(Point3f{0, -2, 50}, 0.4f, 30.0f);
        centre->feet.emplace_back();
        std::vector<std::shared_ptr<Nail>> nails{centre};
        std::vector<bool> isCentre;
        ASSERT_TRUE(forks.buildForks(nails, isCentre, [](int, int) { return true; }));
        ASSERT_TRUE(isCentre[0]);
        EXPECT_TRUE(centre->feet.empty());
        ASSERT_EQ(nails.size(), 3u); // two grid columns joined the structure
        // The nearest pair wins: x = -10 and x = 10, beams meeting the centre at its top.
        EXPECT_FLOAT_EQ(std::fabs(nails[1]->axisX), 10.0f);
        EXPECT_FLOAT_EQ(std::fabs(nails[2]->axisX), 10.0f);
        EXPECT_FLOAT_EQ(centre->bottomZ, 50.0f);
        EXPECT_FLOAT_EQ(nails[1]->top.z, 38.0f); // cut at its beam, 1.2 * 10 below
        EXPECT_FLOAT_EQ(nails[1]->bottomZ, 0.0f);
    }
}

} // namespace

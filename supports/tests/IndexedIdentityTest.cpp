#include "SupportFixtures.h"
#include "testsupport/SupportParams.h"

#include "supports/SupportJob.h"
#include "supports/ThinTip.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

struct IdentityRow {
    const char *name;
    std::function<fixtures::MeshData()> mesh;
    bool lift;
};

SupportParameters mediumParams(bool lift)
{
    SupportParameters p = testsupport::mediumSupportParameters();
    p.hasSupports = !lift;
    return p;
}

struct Shape {
    int tips = 0, links = 0, beams = 0, columns = 0;
};

Shape describe(const Support &support)
{
    Shape s;
    for (const auto &part : support.parts) {
        if (std::dynamic_pointer_cast<ThinTip>(part))
            ++s.links;
        else if (std::dynamic_pointer_cast<Tip>(part))
            ++s.tips;
        else if (auto c = std::dynamic_pointer_cast<Cylinder>(part))
            if (c->firstRadius() == c->secondRadius()) {
                if (c->firstCentre().x != c->secondCentre().x ||
                    c->firstCentre().y != c->secondCentre().y)
                    ++s.beams;
                else
                    ++s.columns;
            }
    }
    return s;
}

class IndexedIdentity : public ::testing::TestWithParam<IdentityRow>
{
};

TEST_P(IndexedIdentity, IndexedRunMatchesTheReferenceExactly)
{
    const IdentityRow &row = GetParam();
    const fixtures::MeshData mesh = row.mesh();
    auto reference = fixtures::makeModel(mesh);
    auto indexed = fixtures::makeModel(mesh);
    const SupportParameters p = mediumParams(row.lift);
    const SupportJobResult a =
        generateSupportsForModel(*reference, p, nullptr, QueryMode::Reference);
    const SupportJobResult b = generateSupportsForModel(*indexed, p, nullptr, QueryMode::Indexed);
    ASSERT_TRUE(a.ok && b.ok);
    ASSERT_GT(a.overhangs, 0);
    ASSERT_EQ(a.overhangs, b.overhangs);
    for (std::size_t i = 0; i < reference->overhangs().size(); ++i) {
        const Overhang &x = *reference->overhangs()[i];
        const Overhang &y = *indexed->overhangs()[i];
        ASSERT_EQ(x.position(), y.position()) << i;
        ASSERT_EQ(x.direction(), y.direction()) << i;
        ASSERT_EQ(!x.tip(), !y.tip()) << i;
        ASSERT_EQ(!x.link(), !y.link()) << i;
    }
    const auto &pa = reference->support()->parts;
    const auto &pb = indexed->support()->parts;
    ASSERT_EQ(pa.size(), pb.size());
    for (std::size_t i = 0; i < pa.size(); ++i) {
        ASSERT_EQ(typeid(*pa[i]), typeid(*pb[i])) << i;
        ASSERT_EQ(pa[i]->vertices(), pb[i]->vertices()) << i;
        ASSERT_EQ(pa[i]->faces(), pb[i]->faces()) << i;
    }
    const Shape s = describe(*reference->support());
    std::printf("[ shape    ] %s: %d faces, %d overhangs, %zu parts, %d tips, %d links, "
                "%d columns, %d beams\n",
                row.name, static_cast<int>(mesh.faces.size()), a.overhangs, pa.size(), s.tips,
                s.links, s.columns, s.beams);
}

fixtures::MeshData archesAndHoles()
{
    fixtures::MeshData m = fixtures::vault(8, 10, 20, 48);
    m.append(fixtures::frame(34, 14, 14, 2));
    m.append(fixtures::box({-4, -30, 22}, {4, 30, 24})); // a long bar above both
    return m;
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, IndexedIdentity,
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
                      IdentityRow{"archesAndHoles", archesAndHoles, false},
                      IdentityRow{"floatingAbovePlatform",
                                  [] {
                                      return fixtures::sphere({0, 0, 30}, 6, 30, 48);
                                  },
                                  false},
                      IdentityRow{"generated50kFaces",
                                  [] {
                                      return fixtures::torus({0, 0, 20}, 14, 5, 250, 100);
                                  },
                                  false},
                      IdentityRow{"generated200kFaces",
                                  [] {
                                      return fixtures::torus({0, 0, 20}, 16, 6, 500, 200);
                                  },
                                  true}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

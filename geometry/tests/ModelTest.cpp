#include "geometry/Model.h"
#include "geometry/MeshGroupRecord.h"
#include "geometry/SlcModel.h"

#include "MeshTestUtil.h"

#include <gtest/gtest.h>

namespace
{

class FakeGeneratorState : public ISupportGeneratorState
{
  public:
    explicit FakeGeneratorState(int *discards) : m_discards(discards) {}
    void discardNailGrid() override { ++*m_discards; }
    std::unique_ptr<ISupportGeneratorState> clone() const override
    {
        return std::make_unique<FakeGeneratorState>(m_discards);
    }

  private:
    int *m_discards;
};

std::shared_ptr<Model> modelWithSupports()
{
    auto model = std::make_shared<Model>();
    model->setBaseName(QStringLiteral("Bracket"));
    fillSoup(*model, testsupport::boxTriangles(0, 0, 5, 10, 10, 15));
    model->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{5, 5, 5}, Vec3f{0, 0, -1}, 0.25f, 0.2f));
    auto support = std::make_shared<Support>();
    auto column = std::make_shared<Mesh3D>();
    fillSoup(*column, testsupport::boxTriangles(4, 4, 0, 6, 6, 5));
    support->parts.push_back(column);
    model->setSupport(support);
    auto rod = std::make_shared<Mesh3D>();
    fillSoup(*rod, testsupport::boxTriangles(0, 0, 0, 1, 1, 5));
    model->manualSupports().shared = std::make_shared<MeshGroupRecord>();
    rod->setSharedOwner(model->manualSupports().shared);
    model->manualSupports().parts.push_back(rod);
    return model;
}

} // namespace

TEST(ModelTest, DefaultsAndSupportParameters)
{
    Model model;
    EXPECT_EQ(model.modelMatrix(), identityMatrix());
    EXPECT_FALSE(model.hasSupports());
    EXPECT_EQ(model.support(), nullptr);
    const SupportParameters &p = model.supportParameters();
    EXPECT_EQ(p.method, 0);
    EXPECT_FLOAT_EQ(p.supportRadius, 0.1f);
    EXPECT_FLOAT_EQ(p.baseExtern, 2.5f);
    EXPECT_FLOAT_EQ(p.baseHeight, 1.5f);
    EXPECT_FLOAT_EQ(p.overhangRadius, 0.25f);
    EXPECT_FLOAT_EQ(p.supportGaps, 4.0f);
    EXPECT_FLOAT_EQ(p.supportHeight, 5.0f);
    EXPECT_EQ(p.baseMode, 1);
    EXPECT_FALSE(p.hasSupports);
    EXPECT_FLOAT_EQ(p.linkPointRadius, 0.25f);
}

TEST(ModelTest, HasSupportsFollowsSupport)
{
    Model model;
    model.setSupport(std::make_shared<Support>());
    EXPECT_FALSE(model.hasSupports());
    auto support = std::make_shared<Support>();
    support->parts.push_back(std::make_shared<Mesh3D>());
    model.setSupport(support);
    EXPECT_TRUE(model.hasSupports());
}

TEST(ModelTest, TransformMovesEverything)
{
    auto model = modelWithSupports();
    model->transform(translationMatrix(1, 2, 3));
    EXPECT_EQ(model->boundingBox().min, (Vec3f{1, 2, 8}));
    EXPECT_EQ(model->overhangs()[0]->position(), (Vec3f{6, 7, 8}));
    EXPECT_EQ(model->overhangs()[0]->direction(), (Vec3f{0, 0, -1}));
    EXPECT_EQ(model->support()->parts[0]->boundingBox().min, (Vec3f{5, 6, 3}));
    EXPECT_EQ(model->manualSupports().parts[0]->boundingBox().min, (Vec3f{1, 2, 3}));
}

struct GridMove {
    const char *name;
    Matrix4f matrix;
    int discards;
};

class ModelGridTest : public ::testing::TestWithParam<GridMove>
{
};

TEST_P(ModelGridTest, HorizontalMovesDiscardNailGrid)
{
    int discards = 0;
    Model model;
    fillSoup(model, testsupport::boxTriangles(0, 0, 0, 1, 1, 1));
    model.setSupportGeneratorState(std::make_unique<FakeGeneratorState>(&discards));
    model.transform(GetParam().matrix);
    EXPECT_EQ(discards, GetParam().discards);
}

INSTANTIATE_TEST_SUITE_P(Moves, ModelGridTest,
                         ::testing::Values(GridMove{"AlongZ", translationMatrix(0, 0, 4), 0},
                                           GridMove{"AlongX", translationMatrix(1, 0, 0), 1},
                                           GridMove{"AlongY", translationMatrix(0, -2, 0), 1},
                                           GridMove{"Identity", identityMatrix(), 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ModelTest, DeepCopySharesNothing)
{
    auto model = modelWithSupports();
    model->copyNumber() = 2;
    model->layoutHistory().push_back(translationMatrix(1, 0, 0));
    model->supportParameters().supportRadius = 0.4f;
    auto contours = std::make_shared<SlcModel>();
    contours->unit = "mm";
    model->setContourData(contours);

    auto copy = model->deepCopy();
    EXPECT_EQ(copy->name(), QStringLiteral("Bracket(2)"));
    EXPECT_EQ(copy->vertices(), model->vertices());
    EXPECT_EQ(copy->layoutHistory(), model->layoutHistory());
    EXPECT_FLOAT_EQ(copy->supportParameters().supportRadius, 0.4f);
    EXPECT_TRUE(copy->hasSupports());

    ASSERT_EQ(copy->overhangs().size(), 1u);
    EXPECT_NE(copy->overhangs()[0], model->overhangs()[0]);
    EXPECT_EQ(copy->overhangs()[0]->position(), model->overhangs()[0]->position());
    EXPECT_FLOAT_EQ(copy->overhangs()[0]->linkPointRadius(), 0.2f);
    ASSERT_EQ(copy->support()->parts.size(), 1u);
    EXPECT_NE(copy->support(), model->support());
    EXPECT_NE(copy->support()->parts[0], model->support()->parts[0]);
    ASSERT_EQ(copy->manualSupports().parts.size(), 1u);
    EXPECT_NE(copy->manualSupports().parts[0], model->manualSupports().parts[0]);
    EXPECT_NE(copy->manualSupports().shared, model->manualSupports().shared);
    EXPECT_EQ(copy->manualSupports().parts[0]->sharedOwner(), copy->manualSupports().shared);
    ASSERT_NE(copy->contourData(), nullptr);
    EXPECT_NE(copy->contourData(), model->contourData());
    EXPECT_EQ(copy->contourData()->unit, QByteArray("mm"));

    // Moving the copy leaves the source in place.
    copy->transform(translationMatrix(10, 0, 0));
    EXPECT_EQ(model->boundingBox().min.x, 0.0f);
    EXPECT_EQ(model->overhangs()[0]->position().x, 5.0f);
    EXPECT_EQ(model->support()->parts[0]->boundingBox().min.x, 4.0f);
}

TEST(ModelTest, VolumeWithSupportsAddsPartsAndSpheres)
{
    auto model = modelWithSupports();
    Mesh3D placed;
    const double sphere = placedTriangles(*model->overhangs()[0], placed).volume();
    EXPECT_GT(sphere, 0.0); // sphere wound outward
    EXPECT_NEAR(sphere, 4.0 / 3.0 * 3.14159265 * 0.25 * 0.25 * 0.25, 0.01);
    EXPECT_NEAR(model->volumeWithSupports(), 1000.0 + 20.0 + sphere, 1e-5);
}

TEST(ModelTest, OverhangBackupIsIndependent)
{
    auto model = modelWithSupports();
    model->refillOverhangBackup();
    ASSERT_EQ(model->overhangBackup().size(), 1u);
    EXPECT_NE(model->overhangBackup()[0], model->overhangs()[0]);
    model->overhangs().clear();
    model->restoreOverhangsFromBackup();
    ASSERT_EQ(model->overhangs().size(), 1u);
    EXPECT_EQ(model->overhangs()[0]->position(), (Vec3f{5, 5, 5}));
}

#include "io/DIoVXPJ.h"
#include "io/tests/VxpjTestData.h"

#include "supports/DsCylider.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vxpjtest;

TEST(VxpjManualSupports, RodsAndTheirBallsComeBackLinkedAndSharingOneRecord)
{
    auto model = boxModel(QStringLiteral("Ring"));
    auto record = std::make_shared<ManualSupportRecord>();
    model->manualSupports().shared = record;
    ManualSupportSettings s;
    s.topPoint = {1, 2, 5};
    s.topBallRadius = 0.3f;
    s.bottomPoint = {1, 2, 0};
    s.bottomBallRadius = 0.25f;
    s.rodTopRadius = 0.1f;
    s.rodBottomRadius = 0.35f;
    ManualSupportRecord::addRod(record, model->manualSupports().parts, s)->setFlag(true);
    s.topPoint = {4, 4, 3};
    ManualSupportRecord::addRod(record, model->manualSupports().parts, s);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("rods.vxpj"));
    Vxpj::saveProject(file, {model});
    const auto loaded = Vxpj::loadProject(file);
    ASSERT_EQ(loaded.size(), 1u);
    const ManualSupports &ms = loaded[0]->manualSupports();
    ASSERT_EQ(ms.parts.size(), 6u);
    ASSERT_TRUE(std::dynamic_pointer_cast<ManualSupportRecord>(ms.shared));

    std::vector<std::shared_ptr<DsCylider>> rods;
    for (const auto &part : ms.parts) {
        EXPECT_EQ(part->sharedOwner(), ms.shared);
        if (auto rod = std::dynamic_pointer_cast<DsCylider>(part))
            rods.push_back(rod);
    }
    ASSERT_EQ(rods.size(), 2u);
    EXPECT_EQ(rods[0]->top()->centre(), (Point3f{1, 2, 5}));
    EXPECT_EQ(rods[0]->top()->radius(), 0.3f);
    EXPECT_EQ(rods[0]->bottom()->centre(), (Point3f{1, 2, 0}));
    EXPECT_EQ(rods[0]->bottom()->radius(), 0.25f);
    EXPECT_EQ(rods[0]->topRadius(), 0.1f);
    EXPECT_EQ(rods[0]->bottomRadius(), 0.35f);
    EXPECT_TRUE(rods[0]->flag());
    EXPECT_FALSE(rods[1]->flag());
    EXPECT_EQ(rods[1]->top()->centre(), (Point3f{4, 4, 3}));
    ASSERT_EQ(rods[0]->top()->links().size(), 1u);
    EXPECT_EQ(rods[0]->top()->links()[0].lock(), rods[0]);
}

#include "io/DIoSlc.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"
#include "geometry/SlcModel.h"

#include "IoTestUtil.h"

#include <gtest/gtest.h>

TEST(SlcReaderTest, TwoLayersOfOneSquare)
{
    const QByteArray bytes = SlcBuilder()
                                 .table({{0.0f, 0.05f, 0.0f, 0.0f}, {0.1f, 0.1f, 0.0f, 0.0f}})
                                 .layer(0.1f, {unitSquare()})
                                 .layer(0.2f, {unitSquare()})
                                 .end(0.2f)
                                 .bytes();
    DIoSlc reader;
    auto model = readBytes(reader, bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->sourceKind(), 1);
    EXPECT_EQ(reader.sourceKind(), 1);
    EXPECT_EQ(model->vertices().size(), 8u);
    EXPECT_TRUE(model->faces().empty());
    EXPECT_EQ(model->vertices()[5], (Vec3f{1, 0, 0.2f}));
    const auto contours = model->contourData();
    ASSERT_NE(contours, nullptr);
    EXPECT_EQ(contours->unit, QByteArray("mm"));
    EXPECT_EQ(contours->package, QByteArray("orvane"));
    EXPECT_FLOAT_EQ(contours->minZ, 0.1f);
    EXPECT_FLOAT_EQ(contours->layerThickness, 0.1f);
    EXPECT_FLOAT_EQ(contours->maxZ, 0.2f);
    ASSERT_EQ(contours->layers.size(), 2u);
    ASSERT_EQ(contours->layers[1].size(), 1u);
    EXPECT_EQ(contours->layers[1][0], (SlcModel::Contour{4, 5, 6, 7}));
    EXPECT_EQ(model->size(), (Vec3f{1, 1, 0.1f}));
}

TEST(SlcReaderTest, CancelledBeforeAnyLayerReturnsNull)
{
    IProgressable root;
    root.setCancel(true);
    DIoSlc reader;
    reader.setProgress(&root);
    const QByteArray bytes = SlcBuilder().table({}).layer(0.1f, {unitSquare()}).end(0.1f).bytes();
    EXPECT_EQ(readBytes(reader, bytes), nullptr);
}

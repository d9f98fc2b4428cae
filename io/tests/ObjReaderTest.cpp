#include "io/DIoError.h"
#include "io/DIoOBJ.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"

#include "IoTestUtil.h"

#include <gtest/gtest.h>

namespace
{

const QByteArray kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

} // namespace

struct ObjCase {
    const char *name;
    QByteArray bytes;
    std::vector<Face> faces;
};

class ObjReaderTest : public ::testing::TestWithParam<ObjCase>
{
};

TEST_P(ObjReaderTest, Faces)
{
    DIoOBJ reader;
    auto model = readBytes(reader, GetParam().bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->faces(), GetParam().faces);
    EXPECT_FALSE(model->isIndexed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ObjReaderTest,
    ::testing::Values(
        ObjCase{"QuadIsFanned", kSquare + "f 1 2 3 4\n", {Face{{0, 1, 2}}, Face{{0, 2, 3}}}},
        ObjCase{"TextureAndNormalRefs",
                kSquare + "vt 0 0\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\n",
                {Face{{0, 1, 2}}}},
        ObjCase{"NormalOnlyRefs", kSquare + "f 1//1 2//1 3//1\n", {Face{{0, 1, 2}}}},
        ObjCase{"CrLfAndTrailingBlank", kSquare + "f 1 2 3 \r\n", {Face{{0, 1, 2}}}},
        ObjCase{"CommentsToEndOfLine",
                "# v 9 9 9\n" + kSquare + "f 1 2 3 # f 1 2\ng part\nusemtl x\n",
                {Face{{0, 1, 2}}}},
        ObjCase{"PentagonFan",
                kSquare + "v 0.5 2 0\nf 1 2 3 5 4\n",
                {Face{{0, 1, 2}}, Face{{0, 2, 4}}, Face{{0, 4, 3}}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ObjReader, SharesVerticesAndPostProcesses)
{
    DIoOBJ reader;
    auto model = readBytes(reader, kSquare + "f 1 2 3 4\n");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->vertices().size(), 4u);
    EXPECT_EQ(model->size(), (Vec3f{1, 1, 0}));
    ASSERT_EQ(model->faceNormals().size(), 2u);
    EXPECT_EQ(model->faceNormals()[0], (Vec3f{0, 0, 1}));
}

TEST(ObjReader, CancelledReadReturnsNull)
{
    IProgressable root;
    root.setCancel(true);
    DIoOBJ reader;
    reader.setProgress(&root);
    EXPECT_EQ(readBytes(reader, kSquare + "f 1 2 3 4\n"), nullptr);
}

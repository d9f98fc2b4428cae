#include "GlTestSupport.h"

#include "render/COrvaneFrame.h"
#include "render/FrameSnapshot.h"
#include "render/HeadlessSnapshots.h"

#include "app/CEnvironmentColors.h"
#include "testsupport/TestFiles.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orvane3Ds;

namespace
{

struct Rgb {
    int r, g, b;
    bool isBlack() const { return r == 0 && g == 0 && b == 0; }
};

Rgb at(const QByteArray &canvas, int x, int y)
{
    const auto *p = reinterpret_cast<const uchar *>(canvas.constData()) + (y * 256 + x) * 3;
    return {p[0], p[1], p[2]};
}

struct SnapshotRow {
    const char *name;
    SnapshotView view;
    QRect covered; // where the silhouette of the box goes on the canvas
};

// A box 20 (x) by 40 (y) by 30 (z) millimetres.
Box3f testBox()
{
    Box3f box;
    box.min = {-10.0f, -20.0f, 0.0f};
    box.max = {10.0f, 20.0f, 30.0f};
    return box;
}

class Snapshot : public ::testing::TestWithParam<SnapshotRow>
{
};

} // namespace

TEST_P(Snapshot, silhouetteLandsWhereTheSizeRulePutsIt)
{
    const SnapshotRow &row = GetParam();
    const SnapshotSize size = snapshotSize(testBox(), row.view);
    EXPECT_EQ(size.width, row.covered.width());
    EXPECT_EQ(size.height, row.covered.height());

    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    gl.scene().addModels({rendertest::boxModel(-10, -20, 0, 10, 20, 30)});
    const QByteArray canvas = gl.frame().renderSnapshot(row.view);
    ASSERT_EQ(canvas.size(), 196608);

    int coveredBlack = 0;
    int uncoveredLit = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgb c = at(canvas, x, y);
            const QRect inner = row.covered.adjusted(1, 1, -1, -1);
            if (inner.contains(x, y))
                coveredBlack += c.isBlack() ? 1 : 0;
            else if (!row.covered.contains(x, y))
                uncoveredLit += c.isBlack() ? 0 : 1;
        }
    EXPECT_EQ(coveredBlack, 0);
    EXPECT_EQ(uncoveredLit, 0);
    // Grey while rendering: a lit grey, not the scheme's colours.
    const Rgb centre = at(canvas, row.covered.center().x(), row.covered.center().y());
    EXPECT_EQ(centre.r, centre.g);
    EXPECT_EQ(centre.g, centre.b);
    EXPECT_GT(centre.r, 150);
}

INSTANTIATE_TEST_SUITE_P(Views, Snapshot,
                         ::testing::Values(
                             // front: 40 wide, 30 high -> 256 x 192 at the bottom
                             SnapshotRow{"front", SnapshotView::Front, QRect(0, 64, 256, 192)},
                             // top: 40 wide, 20 high -> 256 x 128 at the bottom
                             SnapshotRow{"top", SnapshotView::Top, QRect(0, 128, 256, 128)},
                             // left: 20 wide, 30 high -> 170 rounded up to 172 wide, centred
                             SnapshotRow{"left", SnapshotView::Left, QRect(42, 0, 172, 256)}),
                         [](const auto &info) { return info.param.name; });

TEST(SnapshotCanvas, rowsAreStoredTopFirst)
{
    // A 4 x 2 RGBA image read bottom row first: bottom row red, top row green.
    QByteArray rgba;
    for (int i = 0; i < 4; ++i)
        rgba.append("\xff\x00\x00\xff", 4);
    for (int i = 0; i < 4; ++i)
        rgba.append("\x00\xff\x00\xff", 4);
    const QByteArray canvas = composeSnapshotCanvas(rgba, 4, 2);
    EXPECT_EQ(at(canvas, 0, 254).g, 255); // top row of the image
    EXPECT_EQ(at(canvas, 0, 255).r, 255); // bottom row
    EXPECT_TRUE(at(canvas, 4, 255).isBlack());
    EXPECT_TRUE(at(canvas, 0, 253).isBlack());
}

TEST(SnapshotCanvas, anEmptySceneGivesABlackCanvas)
{
    EXPECT_EQ(snapshotSize(Box3f(), SnapshotView::Front).width, 0);
    const QByteArray canvas = composeSnapshotCanvas({}, 0, 0);
    EXPECT_EQ(canvas, QByteArray(196608, '\0'));
}

TEST(SnapshotCanvas, aTallModelIsNotCutByTheNearPlane)
{
    // 150 mm tall: seen from above, its top lies closer than 100 mm to the eye at 200.
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    gl.scene().addModels({rendertest::boxModel(-10, -10, 0, 10, 10, 150)});
    const QByteArray canvas = gl.frame().renderSnapshot(SnapshotView::Top);
    EXPECT_FALSE(at(canvas, 128, 128).isBlack());
}

TEST(SnapshotCanvas, roleColoursAreRestoredAfterwards)
{
    rendertest::useTestColours();
    CEnvironmentColors::instance().setSchemeName(QStringLiteral("ColorGreen"));
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    gl.scene().addModels({rendertest::boxModel(-10, -20, 0, 10, 20, 30)});
    gl.frame().renderSnapshot(SnapshotView::Front);
    EXPECT_EQ(CEnvironmentColors::instance().roleColor(0), (Vec3f{0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(CEnvironmentColors::instance().schemeName(), QStringLiteral("ColorGreen"));
}

TEST(HeadlessSnapshots, writesThreeRawFilesAndPictures)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(writeSnapshots({rendertest::boxModel(-10, -20, 0, 10, 20, 30)}, dir.path(), &error))
        << error.toStdString();
    for (const char *name : {"front", "top", "left"}) {
        const QString stem = dir.filePath(QString::fromLatin1(name));
        EXPECT_EQ(QFileInfo(stem + ".dat").size(), 196608) << name;
        const QImage png(stem + ".png");
        EXPECT_EQ(png.size(), QSize(256, 256)) << name;
    }
    const QByteArray front = testsupport::readFile(dir.filePath("front.dat"));
    EXPECT_TRUE(at(front, 10, 10).isBlack());
    EXPECT_FALSE(at(front, 128, 160).isBlack());
}

TEST(HeadlessSnapshots, anUnwritableFolderIsReported)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath("file"), "x");
    QString error;
    EXPECT_FALSE(
        writeSnapshots({rendertest::boxModel(0, 0, 0, 1, 1, 1)}, dir.filePath("file/sub"), &error));
    EXPECT_FALSE(error.isEmpty());
}

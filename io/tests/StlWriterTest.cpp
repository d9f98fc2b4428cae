#include "io/StlWriter.h"

#include "io/DIoAsciiStl.h"
#include "io/DIoError.h"

#include "geometry/Model.h"

#include "IoTestUtil.h"
#include "testsupport/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace testsupport;

namespace
{

std::shared_ptr<Mesh3D> readBox(float x0)
{
    DIoAsciiStl reader;
    return readBytes(reader, binaryStl(boxTriangles(x0, 0, 0, x0 + 1, 1, 1)));
}

} // namespace

TEST(StlWriterTest, TwoMeshesRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scene.stl"));
    writeBinaryStl(path, {readBox(0), readBox(5)});
    const QByteArray bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 1284);
    EXPECT_EQ(bytes.left(80), QByteArray(80, '\0'));

    DIoAsciiStl reader;
    auto back = readBytes(reader, bytes);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->faces().size(), 24u);
    EXPECT_EQ(back->boundingBox().max.x, 6.0f);
    EXPECT_NEAR(back->volume(), 2.0, 1e-6);
}

TEST(StlWriterTest, NormalsWrittenEvenWhenNotComputed)
{
    auto mesh = std::make_shared<Mesh3D>();
    mesh->vertices() = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh->faces() = {Face{{0, 1, 2}}};
    const QByteArray bytes = encodeBinaryStl({mesh});
    ASSERT_EQ(bytes.size(), 134);
    float nz;
    std::memcpy(&nz, bytes.constData() + 84 + 8, 4);
    EXPECT_EQ(nz, 1.0f);
}

TEST(StlWriterTest, UnwritablePathSaysWhyAndKeepsOldFile)
{
    QTemporaryDir dir;
    try {
        writeBinaryStl(dir.filePath(QStringLiteral("missing/dir/out.stl")), {readBox(0)});
        FAIL() << "no error";
    } catch (const DIoError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Open scence file error"))) << e.what();
    }

    const QString path = dir.filePath(QStringLiteral("keep.stl"));
    writeFile(path, "previous");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(dir.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) // permissions not enforced (running as root)
        GTEST_SKIP() << "directory permissions are not enforced";
    EXPECT_THROW(writeBinaryStl(path, {readBox(0)}), DIoError);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readFile(path), QByteArray("previous"));
}

#ifdef Q_OS_UNIX
// The same promise where folder permissions do not bind (as root): the write fails part way
// because the file size limit is reached, as on a full disk.
TEST(StlWriterTest, WriteFailingMidwayKeepsOldFileAlsoAsRoot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.stl"));
    writeFile(path, "previous");
    // About 500 kB of triangles against a limit of 64 kB.
    auto big = std::make_shared<Mesh3D>();
    for (int i = 0; i < 10000; ++i) {
        big->vertices().push_back({float(i), 0, 0});
        big->vertices().push_back({float(i), 1, 0});
        big->vertices().push_back({float(i), 0, 1});
        const auto b = std::uint32_t(3 * i);
        big->faces().push_back(Face{{b, b + 1, b + 2}});
    }
    struct rlimit old {
    };
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit limited = old;
    limited.rlim_cur = 64 * 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool threw = false;
    QString message;
    try {
        writeBinaryStl(path, {big});
    } catch (const DIoError &e) {
        threw = true;
        message = e.message();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Open scence file error")))
        << message.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.stl")});
}
#endif

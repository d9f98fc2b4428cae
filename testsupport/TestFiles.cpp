#include "testsupport/TestFiles.h"

#include <QDataStream>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace testsupport
{

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

std::vector<Triangle> boxTriangles(float x0, float y0, float z0, float x1, float y1, float z1)
{
    const Vec3 p[8] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                       {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    // Counter-clockwise seen from outside.
    const int q[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                         {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    std::vector<Triangle> out;
    for (const auto &f : q) {
        out.push_back({p[f[0]], p[f[1]], p[f[2]]});
        out.push_back({p[f[0]], p[f[2]], p[f[3]]});
    }
    return out;
}

QByteArray binaryStl(const std::vector<Triangle> &triangles)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
    stream.writeRawData(QByteArray(80, '\0').constData(), 80);
    stream << quint32(triangles.size());
    for (const Triangle &t : triangles) {
        stream << 0.0f << 0.0f << 0.0f; // normal, ignored by readers
        for (const Vec3 &v : t)
            stream << v[0] << v[1] << v[2];
        stream << quint16(0);
    }
    return out;
}

QByteArray asciiStl(const std::vector<Triangle> &triangles, bool upperCase)
{
    QByteArray s = "solid test\n";
    for (const Triangle &t : triangles) {
        s += "  facet normal 0 0 0\n    outer loop\n";
        for (const Vec3 &v : t)
            s += "      vertex " + QByteArray::number(v[0], 'g', 9) + ' ' +
                 QByteArray::number(v[1], 'g', 9) + ' ' + QByteArray::number(v[2], 'g', 9) + '\n';
        s += "    endloop\n  endfacet\n";
    }
    s += "endsolid test\n";
    return upperCase ? s.toUpper() : s;
}

QString binDir()
{
    return qEnvironmentVariable("RESINOR_TEST_BIN_DIR");
}

QString builtProgram(const QString &name)
{
    const QString dir = binDir();
    const QString path = QDir(dir).filePath(name);
    return !dir.isEmpty() && QFile::exists(path) ? path : QString();
}

} // namespace testsupport

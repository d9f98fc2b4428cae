#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <array>
#include <vector>

namespace testsupport
{

using Vec3 = std::array<float, 3>;
using Triangle = std::array<Vec3, 3>;

// Writes bytes to a file, creating or replacing it. Fails the current test on error.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// An axis-aligned box from (x0,y0,z0) to (x1,y1,z1) as 12 triangles wound outward.
std::vector<Triangle> boxTriangles(float x0, float y0, float z0, float x1, float y1, float z1);

// Encodes triangles as a binary STL (normals left zero) or as an ASCII STL.
QByteArray binaryStl(const std::vector<Triangle> &triangles);
QByteArray asciiStl(const std::vector<Triangle> &triangles, bool upperCase = false);

// Directory of the built programs (Resinor, Patchwyn) as passed by CTest.
QString binDir();
// Path of the built program `name` in binDir(), or empty when CTest did not give the directory
// or the program is not there.
QString builtProgram(const QString &name);

} // namespace testsupport

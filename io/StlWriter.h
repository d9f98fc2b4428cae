#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class Mesh3D;

// Writes the meshes into one binary STL file: 80 zero bytes, the total face count, then per face
// its normal (computed from the vertices when the mesh has no face normals), its three vertex
// positions and a zero attribute. The file is replaced atomically: a failed write leaves a
// previous file untouched. Null meshes are skipped.
// Throws DIoError "Open scence file error: <system error text>" when the file cannot be written.
void writeBinaryStl(const QString &path, const std::vector<std::shared_ptr<Mesh3D>> &meshes);

// The same encoding into memory.
QByteArray encodeBinaryStl(const std::vector<std::shared_ptr<Mesh3D>> &meshes);

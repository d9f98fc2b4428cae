#pragma once

#include "io/DIoError.h"

#include "geometry/Mesh3D.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Feeds arbitrary bytes to a mesh reader from memory. Any input must either load into a mesh
// whose faces all name existing vertices or be rejected with DIoError.
template <typename Reader> int fuzzMeshReader(const std::uint8_t *data, std::size_t size)
{
    Reader reader;
    reader.setData(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    try {
        auto mesh = reader.read();
        if (mesh && !mesh->hasValidFaces())
            __builtin_trap();
    } catch (const DIoError &) {
    }
    return 0;
}

#include "io/DIoOBJ.h"
#include "io/DIoError.h"

#include "geometry/Mesh3D.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DIoOBJ reader;
    reader.setData(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    try {
        auto mesh = reader.read();
        if (mesh && !mesh->hasValidFaces())
            __builtin_trap();
    } catch (const DIoError &) {
    }
    return 0;
}

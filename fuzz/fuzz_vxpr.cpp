// Feeds arbitrary bytes to the work-package header reader (--info of a .vxpr). Any input must
// either be read, with no more complete records than the header states, or be refused with a
// message; crashes, sanitizer reports and huge allocations are findings.
#include "slicing/VxprInfo.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    OrvaneDlp::VxprInfo info;
    QString error;
    if (OrvaneDlp::readVxprInfo(buffer, &info, &error)) {
        if (info.layerRecords < 0 || info.layerRecords > info.layerCount)
            __builtin_trap();
    } else if (error.isEmpty()) {
        __builtin_trap();
    }
    return 0;
}

// Feeds arbitrary bytes to the project reader from memory. Any input must either load or be
// rejected with DIoError; crashes, sanitizer reports and huge allocations are findings.
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DIoVXPJ io;
    io.setData(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    try {
        const auto models = io.read();
        for (const auto &model : models) {
            // Touch what the scene would use first.
            for (const Face &f : model->faces())
                (void)model->vertices().at(f[0]);
            (void)model->name();
        }
    } catch (const DIoError &) {
    }
    return 0;
}

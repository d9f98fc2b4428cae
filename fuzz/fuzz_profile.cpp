// Feeds arbitrary bytes to the support profile reader (an INI file). Any input must either load
// into parameters that are finite and not negative or be refused with a message; crashes and
// sanitizer reports are findings.
#include "geometry/SupportParameters.h"
#include "supports/SupportProfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The reader takes a path: each input is written to one file in a private folder.
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    SupportParameters params;
    QString error;
    if (loadSupportProfile(path, &params, &error)) {
        const float values[] = {params.supportRadius,  params.baseExtern,  params.baseHeight,
                                params.overhangRadius, params.supportGaps, params.supportHeight,
                                params.linkPointRadius};
        for (float v : values)
            if (!std::isfinite(v) || v < 0.0f)
                __builtin_trap();
    } else if (error.isEmpty()) {
        __builtin_trap(); // a refusal always says why
    }
    return 0;
}

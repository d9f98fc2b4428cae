#pragma once

#include <QString>
#include <QStringList>

// The build platform in millimetres: x spans [-x/2, x/2], y spans [-y/2, y/2], z spans [0, z].
struct PlatformSize {
    float x = 96.0f;
    float y = 54.0f;
    float z = 160.0f;
};

// Parses "X,Y,Z" (millimetres, each > 0). Returns false and leaves `out` alone on a bad text.
inline bool parsePlatformSize(const QString &text, PlatformSize *out)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    float values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toFloat(&ok);
        if (!ok || !(values[i] > 0.0f) || values[i] > 1.0e5f)
            return false;
    }
    out->x = values[0];
    out->y = values[1];
    out->z = values[2];
    return true;
}

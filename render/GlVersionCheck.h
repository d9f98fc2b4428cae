#pragma once

#include <QString>
#include <QStringList>

namespace Orvane3Ds
{

// Driver strings read by the capability probe, in this order: GL_VERSION, GL_VENDOR,
// GL_RENDERER, GL_SHADING_LANGUAGE_VERSION, GL_EXTENSIONS. Empty when the probe failed.
// Creates and destroys its own hidden surface and context; call on the GUI thread.
QStringList probeGlStrings();

// Compares the driver's GL version with the required one ("2.1.0"): 0 when the driver is at
// least the required major.minor, 255 when the probe did not complete or a version is empty,
// 254 otherwise (then *detected receives the driver's version number text). Parts are compared
// as numbers (text only when a part is not a number), so "10.0" is newer than "2.1".
int checkGlVersion(const QStringList &probe, const QString &required, QString *detected = nullptr);

} // namespace Orvane3Ds

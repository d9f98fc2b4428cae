#pragma once

#include <QString>

namespace Lamellor
{

// Writes one diagnostic line of the slice engine to the application log (Qt message handler).
// A trailing line feed in text is dropped; the logger adds its own line end.
void engineLog(const QString &text);

} // namespace Lamellor

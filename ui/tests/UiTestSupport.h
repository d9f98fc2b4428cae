#pragma once

#include <QString>

namespace uitest
{

// Installs the compiled translation of `code` ("en" or "zh") for the whole test program,
// replacing the one installed before. Returns false when the resource is missing.
bool useLanguage(const QString &code);

// Processes pending events (queued calls included) a few times over.
void settle();

} // namespace uitest

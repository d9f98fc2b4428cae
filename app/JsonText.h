#pragma once

#include <QString>

// A JSON string literal for `s`, quotes included: quotes, backslashes and control characters
// escaped, everything else kept as it is (the command line's JSON lines are UTF-8).
QString jsonQuoted(const QString &s);

#pragma once

#include <QByteArray>
#include <QString>

// Pure rules of the updater's service replies and of what is written to disk.
namespace PatchwynReply
{

// The first capture of key="(.*?)" (case-sensitive, minimal, spanning lines) searched from
// `from`; the key must not be the tail of a longer word ("name" does not match "filename").
// Sets *found; returns the value.
QString attribute(const QString &reply, const QString &key, int from = 0, bool *found = nullptr);
bool hasAttribute(const QString &reply, const QString &key, int from = 0);

// True when `offered` is newer than `current`, comparing the dot-separated parts as numbers
// (missing parts count as 0; 1.10.0.0 is newer than 1.9.0.0). When a part is not a number the
// two texts are compared as text.
bool isNewer(const QString &offered, const QString &current);

// The offered file name reduced to a plain base name: no folders, no "." or "..", no control
// characters. Empty when nothing usable is left.
QString safeFileName(const QString &offered);

} // namespace PatchwynReply

#pragma once

#include "geometry/SupportParameters.h"

#include <QString>
#include <QStringList>

// Support profiles: INI files with one group "support" and the keys "method",
// "overhangDiameter", "linkPointDiameter", "supportGaps", "supportDiameter", "supportHeight",
// "supportBaseHeight", "supportBaseExtern", "isHasSupports" and "isAddSupportBase".

// A profile number passes when it is non-empty after whitespace simplification (unless
// allowEmpty) and consists only of the digits 0-9 and the point.
bool checkProfileValue(const QString &value, bool allowEmpty);

// Reads and checks the profile at `path` and converts it into `params` (diameters halved, "A"/"B"
// into method 0/1, "isAddSupportBase" into baseMode 1/2; the profile name becomes the file name).
// Fields not named by the profile keep the values `params` had. On failure returns false, leaves
// `params` unchanged and sets `error` to a text naming the key and the value that failed.
bool loadSupportProfile(const QString &path, SupportParameters *params, QString *error);

// The profile files (suffix "ini", any case) of a directory, by file name in listing order.
QStringList listSupportProfiles(const QString &directory);

// A profile given by the user: a path to an existing file, or a file name in `directory`
// (".ini" appended when missing). Returns the empty string when neither exists.
QString resolveSupportProfile(const QString &nameOrPath, const QString &directory);

// Copies every profile of `sourceDir` (a folder or a resource folder such as ":/profiles") into
// `destinationDir`, creating it when needed; files already present are left unchanged. Returns
// false (with `error` set) when the destination cannot be created or a copy fails.
bool copyShippedProfiles(const QString &sourceDir, const QString &destinationDir,
                         QString *error = nullptr);

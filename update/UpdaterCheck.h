#pragma once

#include "update/HttpUpgrade.h"

#include <QString>

// The check both updaters run: the version check of `act` against `current`; on success the
// text "New Version:%1\nCurrent Version:%2\nAre you sure to Upgrade?" and the remembered address
// under settingsKey, on failure the check's message and an empty address. Returns
// (ok, "<tip|error>:<text>").
HttpUpgrade::Result runUpdaterCheck(HttpUpgrade &upgrade, const QString &act,
                                    const QString &current, const QString &settingsKey);

// The text after the "<title>:" prefix of a check result.
QString checkMessageText(const QString &message);

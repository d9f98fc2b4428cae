#pragma once

#include <QString>

// The per-user application-data folder: APPDATA on Windows, the generic data location
// (usually ~/.local/share) elsewhere. Empty when the system names none.
QString appDataDir();

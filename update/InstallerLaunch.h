#pragma once

#include <QString>

// Starts a downloaded installer as its own process. On Windows through the shell (the verb
// "runas" when elevated, else "open"); on Linux an executable file is made executable and
// started, a package file (.deb, .rpm) is opened with the desktop's handler. Returns false with
// a reason in *error when it could not be started.
bool startInstaller(const QString &path, bool elevated, QString *error);

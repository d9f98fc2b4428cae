#pragma once

#include <QList>
#include <QString>

// Running instances of the program being updated, and the start of its installer.
namespace ProcessControl
{

// The executable file name of programName on this system ("<name>.exe" on Windows).
QString executableName(const QString &programName);

// Ids of the running processes (other than this one) whose executable file name equals
// executableName(programName) exactly.
QList<qint64> findRunning(const QString &programName);

// Ends every running instance: on Windows "taskkill -im <name>.exe -f"; elsewhere each process
// gets SIGTERM and, if still there after graceMs, SIGKILL. Returns whether none is left.
bool endRunning(const QString &programName, int graceMs = 3000);

// Starts the downloaded installer. Windows: the shell verb "open", again with "runas" when
// access is denied (code 5). Linux: a package file (.deb, .rpm) is opened with the desktop's
// handler; any other file is made executable and started. Returns the result code: 32 or more
// on success, below 32 on failure (Linux uses 2 for "not found" and 5 for "not startable").
int startInstaller(const QString &path);

} // namespace ProcessControl

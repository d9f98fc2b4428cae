#pragma once

#include <QDateTime>
#include <QString>

// Writes a report file when the program crashes and has a fresh process tell the user. The
// report file name is fixed when the handler is installed: "yyyy-MM-dd-hh-mm-ss-dump.dmp" from
// the local time, in the current directory at the time of the crash.
class CrashHandler
{
  public:
    struct Options {
        // Start the program again with "--crash-report CODE ADDR" so the user sees a message
        // box. Tests switch this off.
        bool showReport = true;
    };

    // Installs the handler for the whole process. Safe to call more than once; the last call
    // fixes the file name.
    static bool install(const Options &options);
    static bool install() { return install(Options()); }

    // The report file name for a start at `start`.
    static QString dumpFileName(const QDateTime &start);

    // Rich text of the crash message box; `code` and `address` are lower-case hexadecimal
    // without prefix. Not translated: the same in every language.
    static QString messageText(const QString &code, const QString &address);
    static QString messageTitle();

    // Entry for "Resinor --crash-report CODE ADDR": shows the critical message box and returns
    // the process exit code. Creates its own QApplication.
    static int runReport(int argc, char **argv);
};

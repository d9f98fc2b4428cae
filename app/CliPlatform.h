#pragma once

#include <QString>

class IProgressable;

// What the command line needs from the operating system (platform/<os>/CliPlatform*.cpp).

// True when an X display named by DISPLAY accepts a connection. Creating Qt's GUI object on a
// display that is gone would abort the program; the verbs ask first. Always true where there
// is no X (Windows).
bool x11DisplayUsable();

// Makes the first Ctrl+C (SIGINT; the console's Ctrl+C on Windows) set the cancel flag of
// progress's chain so the running job stops cleanly; a second one ends the process at once.
// progress must live until the process ends or restoreInterrupt() is called.
void installInterruptHandler(IProgressable *progress);
void restoreInterrupt();
// True once the handler above has seen an interrupt.
bool interrupted();

// True when a and b name the same existing file, also through symbolic or hard links.
bool sameFile(const QString &a, const QString &b);

// True when the standard error stream is a terminal.
bool stderrIsTerminal();

// Makes the 8-bit file-name conversion lossless: under a UTF-8 locale a byte that is not valid
// UTF-8 maps to a character of its own and back, so a file name of any bytes opens and is
// written back unchanged. Does nothing where names are not bytes (Windows).
void installLosslessFileNames();

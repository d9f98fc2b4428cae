#pragma once

#include "geometry/DModelOperator.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Services of the libraries above app/ (GL snapshots) that some verbs use. The program's main
// fills them in; a verb whose service is missing says so instead of pretending to work.
struct HeadlessServices {
    // Renders the front, top and left preview pictures of the models into `dir` (front.dat,
    // top.dat, left.dat and a PNG of each). Returns false with a reason in *error when no GL
    // display is available or a file cannot be written.
    std::function<bool(const ModelList &models, const QString &dir, QString *error)> writeSnapshots;
    // Renders the three preview pictures of the models as raw 256 x 256 RGB bytes (rows top
    // first), as the work package stores them. False with a reason when no GL is available.
    std::function<bool(const ModelList &models, QByteArray *front, QByteArray *top,
                       QByteArray *left, QString *error)>
        renderPreviews;
};

// The process arguments after the program name, decoded as file names are, so that a name of
// any bytes names the same file again (see installLosslessFileNames()).
QStringList commandLineArguments(int argc, char **argv);

// True when the arguments ask for a verb (anywhere before "--", also after a file) or hold an
// unknown "--" option, which gets a usage error, rather than the main window:
// "[--platform X,Y,Z] [FILE]" alone is the window's.
bool isHeadlessCommandLine(const QStringList &args);

// The window's arguments in the form it reads them: "--platform", its value (when given), then
// the files. Qt's own single-dash options and "--" are left out.
QStringList windowArguments(const QStringList &args);

// The argc/argv handed to Qt: the program name and Qt's own single-dash options ("-style X")
// before "--". Our options never reach Qt, which would read "--platform 96,54,160" as its own
// "-platform" option and abort over an unknown platform plugin.
class QtArguments
{
  public:
    QtArguments(int argc, char **argv);
    QtArguments(const QtArguments &) = delete;
    QtArguments &operator=(const QtArguments &) = delete;

    int &argc() { return m_argc; }
    char **argv() { return m_pointers.data(); }
    // True for the Qt options that take the next argument as their value.
    static bool takesValue(const QString &option);

  private:
    std::vector<QByteArray> m_storage;
    std::vector<char *> m_pointers;
    int m_argc = 0;
};

// Runs a command-line verb ("--help", "--info", ...) without any window. Returns the process
// exit code: 0 on success, 1 when an input could not be read or an output not written (or the
// job is empty), 2 for a usage error, 130 when Ctrl+C stopped the job (nothing written).
int runHeadless(const QStringList &args, const HeadlessServices &services = {});

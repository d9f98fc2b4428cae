#pragma once

#include "geometry/DModelOperator.h"

#include <QString>
#include <QStringList>

#include <functional>

// Services of the libraries above app/ (GL snapshots) that some verbs use. The program's main
// fills them in; a verb whose service is missing says so instead of pretending to work.
struct HeadlessServices
{
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

// True when the command line asks for a verb (or holds an unknown "--" option, which gets a
// usage error) rather than the main window: "--platform X,Y,Z [FILE]" alone is the window's.
bool isHeadlessCommandLine(int argc, char **argv);

// Runs a command-line verb ("--help", "--info", ...) without any window: argv[1] is the verb.
// Returns the process exit code: 0 on success, 1 when an input could not be read or an output
// not written, 2 for a usage error.
int runHeadless(int argc, char **argv, const HeadlessServices &services = {});

#include "app/HeadlessCli.h"

#include <QCoreApplication>
#include <QString>
#include <QTextStream>

namespace
{

void printUsage(QTextStream &out)
{
    out << "Usage: Resinor [FILE]\n"
           "       Resinor --VERB [ARGS...]\n"
           "\n"
           "FILE may be a part (.stl, .obj) or a project (.vxpj, .orvane) to open.\n"
           "\n"
           "Verbs (run without a window):\n"
           "  --help    show this text\n";
}

} // namespace

int runHeadless(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString verb = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (verb == QLatin1String("--help")) {
        printUsage(out);
        return 0;
    }
    err << "Resinor: unknown option " << verb << "\n";
    printUsage(err);
    return 2;
}

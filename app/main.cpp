#include "app/CDlpApplicationContext.h"
#include "app/CliPlatform.h"
#include "app/CrashHandler.h"
#include "app/HeadlessCli.h"
#include "render/HeadlessRenderServices.h"
#include "ui/CDlpMainWindow.h"

#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--crash-report") == 0)
        return CrashHandler::runReport(argc, argv);
    installLosslessFileNames();
    const QStringList args = commandLineArguments(argc, argv);

    // Each family of verbs claims its command lines here, before the general verbs, which give
    // an unknown "--" option a usage error.
    if (isHeadlessCommandLine(args))
        return runHeadless(args, Orvane3Ds::headlessRenderServices());

    registerDlpMainWindow(windowArguments(args));
    QtArguments qt(argc, argv);
    CDlpApplicationContext app(qt.argc(), qt.argv());
    return app.exec();
}

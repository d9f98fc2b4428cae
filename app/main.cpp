#include "app/CDlpApplicationContext.h"
#include "app/CliPlatform.h"
#include "app/CrashHandler.h"
#include "app/HeadlessCli.h"
#include "maintenance/MaintenanceCli.h"
#include "maintenance/ui/DeviceDetailsOpener.h"
#include "network/DiscoveryTarget.h"
#include "network/NetworkApp.h"
#include "network/PrinterCli.h"
#include "render/HeadlessRenderServices.h"
#include "ui/CDlpMainWindow.h"
#include "update/UpdateCheckCli.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--crash-report") == 0)
        return CrashHandler::runReport(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--maintain") == 0)
        return runMaintainCommandLine(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--check-update") == 0)
            return runUpdateCheckCommand(argc, argv);
    // "--update-url URL" sets the update service of this run, for the window too.
    if (!takeUpdateUrlOption(argc, argv)) {
        std::fputs("Resinor: --update-url needs the service address\n", stderr);
        return 2;
    }
    // "--discovery-target ADDR" belongs to the window and to the printer verbs alike.
    takeDiscoveryTargetOption(&argc, argv);

    // Each family of verbs claims its command lines here, before the general verbs, which give
    // an unknown "--" option a usage error.
    if (isPrinterCommandLine(argc, argv))
        return runPrinterCli(argc, argv);
    installLosslessFileNames();
    const QStringList args = commandLineArguments(argc, argv);
    if (isHeadlessCommandLine(args))
        return runHeadless(args, Orvane3Ds::headlessRenderServices());

    registerDlpMainWindow(windowArguments(args));
    registerPrinterNetwork();
    registerDeviceDetailsDialog();
    // Qt sees only its own options: it would read "--platform 96,54,160" as its "-platform".
    QtArguments qt(argc, argv);
    CDlpApplicationContext app(qt.argc(), qt.argv());
    return app.exec();
}

#include "app/CDlpApplicationContext.h"
#include "app/CrashHandler.h"
#include "app/HeadlessCli.h"
#include "maintenance/MaintenanceCli.h"
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
    if (isHeadlessCommandLine(argc, argv))
        return runHeadless(argc, argv, Orvane3Ds::headlessRenderServices());

    registerDlpMainWindow();
    CDlpApplicationContext app(argc, argv);
    return app.exec();
}

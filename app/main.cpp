#include "app/CDlpApplicationContext.h"
#include "app/CrashHandler.h"
#include "app/HeadlessCli.h"
#include "maintenance/MaintenanceCli.h"
#include "render/HeadlessRenderServices.h"
#include "ui/CDlpMainWindow.h"

#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--crash-report") == 0)
        return CrashHandler::runReport(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--maintain") == 0)
        return runMaintainCommandLine(argc, argv);
    if (isHeadlessCommandLine(argc, argv))
        return runHeadless(argc, argv, Orvane3Ds::headlessRenderServices());

    registerDlpMainWindow();
    CDlpApplicationContext app(argc, argv);
    return app.exec();
}

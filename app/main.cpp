#include "app/CDlpApplicationContext.h"
#include "app/CrashHandler.h"
#include "app/HeadlessCli.h"
#include "render/HeadlessRenderServices.h"
#include "ui/CDlpMainWindow.h"

#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--crash-report") == 0)
        return CrashHandler::runReport(argc, argv);
    // Every "--" first argument is a headless verb, except the platform option of the window.
    if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0 && std::strcmp(argv[1], "--platform") != 0)
        return runHeadless(argc, argv, Orvane3Ds::headlessRenderServices());

    registerDlpMainWindow();
    CDlpApplicationContext app(argc, argv);
    return app.exec();
}

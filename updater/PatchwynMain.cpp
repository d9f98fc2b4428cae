#include "updater/PatchwynMain.h"

#include "updater/Patchwyn.h"
#include "updater/PatchwynOptions.h"
#include "updater/SingleApplication.h"

#include <QDebug>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>

namespace
{
// A warning nobody could see (no screen) goes to the error output only.
void fail(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::warning(nullptr, QStringLiteral("failed"), text);
}
} // namespace

int runPatchwyn(int argc, char **argv)
{
    // Read before the application object exists: the X11 platform takes "--name <value>" as its
    // own option and removes it from the arguments.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    SingleApplication app(argc, argv);
    if (app.isRunning()) {
        std::fprintf(stderr, "%s already running.\n", qPrintable(app.key()));
        return 0;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Patchwyn"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));

    PatchwynOptions options;
    QString message;
    switch (PatchwynOptions::parse(arguments, &options, &message)) {
    case PatchwynOptions::Parse::Ok:
        break;
    case PatchwynOptions::Parse::Help:
        std::printf("%s", qPrintable(message));
        return 0;
    case PatchwynOptions::Parse::Error:
    case PatchwynOptions::Parse::MissingRequired:
        fail(message);
        return -1;
    }
    qDebug().noquote() << "boot mode :" << options.mode;
    qDebug().noquote() << "language :" << options.language;

    Patchwyn dialog;
    // A second start brings the window of this one to the front.
    QObject::connect(&app, &SingleApplication::sActivated, &dialog, [&dialog] {
        if (dialog.isVisible()) {
            dialog.raise();
            dialog.activateWindow();
        }
    });
    if (options.mode == QLatin1String("ui")) {
        dialog.setup(options.name, options.version, options.url, options.language);
        dialog.show();
        qDebug("window shown");
        return app.exec();
    }
    if (options.mode == QLatin1String("cmd")) {
        if (!dialog.setup(options.name, options.version, options.url, options.language)) {
            qDebug("No new version to update,exit");
            return -1;
        }
        dialog.show();
        qDebug("window shown");
        return app.exec();
    }
    // Any other mode would leave an invisible process that nothing ends.
    fail(QStringLiteral("unknown mode \"%1\": use ui or cmd").arg(options.mode));
    return -1;
}

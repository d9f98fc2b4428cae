#include "update/standin/UpdateServiceStandIn.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

// resinor-update-server --root DIR [--port N]: serves the update services from DIR on
// 127.0.0.1 until it is ended.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Local stand-in for the Resinor and Patchwyn update services "
                       "(listens on 127.0.0.1 only)."));
    parser.addHelpOption();
    const QCommandLineOption root(QStringLiteral("root"),
                                  QStringLiteral("Folder to serve (act/, programs/, files/)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port on 127.0.0.1 (0 picks a free one)."),
                                  QStringLiteral("N"), QStringLiteral("8642"));
    parser.addOption(root);
    parser.addOption(port);
    parser.process(app);
    if (!parser.isSet(root) || !QDir(parser.value(root)).exists()) {
        std::fprintf(stderr, "resinor-update-server: --root needs an existing folder\n");
        return 2;
    }
    bool ok = false;
    const uint number = parser.value(port).toUInt(&ok);
    if (!ok || number > 65535) {
        std::fprintf(stderr, "resinor-update-server: --port needs a number from 0 to 65535\n");
        return 2;
    }
    UpdateServiceStandIn service(QDir(parser.value(root)).absolutePath());
    QString error;
    if (!service.listen(quint16(number), &error)) {
        std::fprintf(stderr, "resinor-update-server: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("listening on %s\n", qPrintable(service.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}

// resinor-printer-sim: plays one DLP printer on one address, so that Resinor can be tried against
// a fleet without real printers and the tests have a real peer. See the README.
#include "network/sim/PrinterSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace
{

int usage(const QString &message)
{
    std::fprintf(stderr, "resinor-printer-sim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("resinor-printer-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates one DLP printer on ADDRESS: discovery answer (UDP 7777), "
                       "command channel (TCP 7777), file transfer, printing by layers."));
    parser.addHelpOption();
    const QCommandLineOption address({QStringLiteral("a"), QStringLiteral("address")},
                                     QStringLiteral("The only address to bind (required)."),
                                     QStringLiteral("ADDRESS"));
    const QCommandLineOption broadcast(
        QStringLiteral("broadcast"),
        QStringLiteral("Also answer questions sent to this broadcast address, or \"none\" "
                       "(default 127.255.255.255 for a loopback address, else none)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption serial(QStringLiteral("serial"),
                                    QStringLiteral("Serial number (default SIM-<address>)."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption name(QStringLiteral("name"),
                                  QStringLiteral("Device name (default the serial)."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption transferPort(QStringLiteral("transfer-port"),
                                          QStringLiteral("File-transfer port (default 7778)."),
                                          QStringLiteral("PORT"), QStringLiteral("7778"));
    const QCommandLineOption keepAlive(
        QStringLiteral("keep-alive"),
        QStringLiteral("on: ask for keep-alive and send isalive; off: do not ask; silent: ask "
                       "but never send isalive (default on)."),
        QStringLiteral("MODE"), QStringLiteral("on"));
    const QCommandLineOption aliveSeconds(QStringLiteral("alive-seconds"),
                                          QStringLiteral("Seconds between isalive (default 5)."),
                                          QStringLiteral("SECONDS"), QStringLiteral("5"));
    const QCommandLineOption handshake(
        QStringLiteral("handshake"),
        QStringLiteral("auth-first (authenticate, then linked) or linked-first."),
        QStringLiteral("ORDER"), QStringLiteral("auth-first"));
    const QCommandLineOption storage(
        QStringLiteral("storage"),
        QStringLiteral("Folder for received files (default ./received-<address>)."),
        QStringLiteral("DIR"));
    const QCommandLineOption layerSeconds(QStringLiteral("layer-seconds"),
                                          QStringLiteral("Seconds per printed layer (default 1)."),
                                          QStringLiteral("SECONDS"), QStringLiteral("1"));
    const QCommandLineOption layers(QStringLiteral("layers"),
                                    QStringLiteral("Layers of a received package (default 20)."),
                                    QStringLiteral("COUNT"), QStringLiteral("20"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Board A and B versions, A,B."),
                                     QStringLiteral("A,B"));
    const QCommandLineOption supplies(QStringLiteral("supplies"),
                                      QStringLiteral("Material text ('*' for spaces)."),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption heldBy(QStringLiteral("held-by"),
                                    QStringLiteral("Identity holding the printer at start."),
                                    QStringLiteral("HOST:ADDRESS:USER"));
    const QCommandLineOption board(QStringLiteral("board"),
                                   QStringLiteral("Control board: ok, silent, busy or fail."),
                                   QStringLiteral("MODE"), QStringLiteral("ok"));
    const QCommandLineOption printing(QStringLiteral("printing"),
                                      QStringLiteral("Start in the middle of a print."));
    const QCommandLineOption vanish(QStringLiteral("vanish-after"),
                                    QStringLiteral("End abruptly after receiving BYTES."),
                                    QStringLiteral("BYTES"));
    const QCommandLineOption ignoreHolds(QStringLiteral("ignore-holds"),
                                         QStringLiteral("Never answer hold requests."));
    const QCommandLineOption garbage(QStringLiteral("garbage"),
                                     QStringLiteral("Send an unreadable frame after linking."));
    const QCommandLineOption lifetime(QStringLiteral("lifetime"),
                                      QStringLiteral("End after SECONDS (default: never)."),
                                      QStringLiteral("SECONDS"), QStringLiteral("0"));
    parser.addOptions({address,   broadcast,    serial,    name,     transferPort,
                       keepAlive, aliveSeconds, handshake, storage,  layerSeconds,
                       layers,    version,      supplies,  heldBy,   board,
                       printing,  vanish,       garbage,   lifetime, ignoreHolds});
    parser.process(app);

    SimOptions options;
    if (!parser.isSet(address) || !options.address.setAddress(parser.value(address)) ||
        options.address.protocol() != QAbstractSocket::IPv4Protocol)
        return usage(QStringLiteral("--address needs an IPv4 address, e.g. 127.0.0.2"));
    if (parser.isSet(broadcast)) {
        if (parser.value(broadcast) != QLatin1String("none") &&
            !options.broadcast.setAddress(parser.value(broadcast)))
            return usage(QStringLiteral("--broadcast needs an address or none"));
    } else if (options.address.isLoopback()) {
        options.broadcast = QHostAddress(QStringLiteral("127.255.255.255"));
    }
    options.serial = parser.isSet(serial) ? parser.value(serial)
                                          : QStringLiteral("SIM-") + options.address.toString();
    options.name = parser.value(name);
    bool ok = false;
    options.transferPort = quint16(parser.value(transferPort).toUInt(&ok));
    if (!ok || options.transferPort == 0)
        return usage(QStringLiteral("--transfer-port needs a port number"));
    const QString mode = parser.value(keepAlive);
    if (mode == QLatin1String("on"))
        options.keepAlive = SimOptions::KeepAlive::On;
    else if (mode == QLatin1String("off"))
        options.keepAlive = SimOptions::KeepAlive::Off;
    else if (mode == QLatin1String("silent"))
        options.keepAlive = SimOptions::KeepAlive::Silent;
    else
        return usage(QStringLiteral("--keep-alive is on, off or silent"));
    const double alive = parser.value(aliveSeconds).toDouble(&ok);
    if (!ok || alive <= 0)
        return usage(QStringLiteral("--alive-seconds needs a positive number"));
    options.aliveIntervalMs = int(alive * 1000);
    if (parser.value(handshake) == QLatin1String("linked-first"))
        options.handshake = SimOptions::Handshake::LinkedFirst;
    else if (parser.value(handshake) != QLatin1String("auth-first"))
        return usage(QStringLiteral("--handshake is auth-first or linked-first"));
    options.storage =
        parser.isSet(storage)
            ? parser.value(storage)
            : QDir::current().filePath(QStringLiteral("received-") + options.address.toString());
    const double layer = parser.value(layerSeconds).toDouble(&ok);
    if (!ok || layer <= 0)
        return usage(QStringLiteral("--layer-seconds needs a positive number"));
    options.layerMs = qMax(1, int(layer * 1000));
    options.layers = parser.value(layers).toInt(&ok);
    if (!ok || options.layers <= 0)
        return usage(QStringLiteral("--layers needs a positive count"));
    if (parser.isSet(version)) {
        const QStringList v = parser.value(version).split(QLatin1Char(','));
        options.versionA = v.value(0);
        options.versionB = v.value(1, options.versionB);
    }
    if (parser.isSet(supplies))
        options.supplies = parser.value(supplies);
    options.heldBy = parser.value(heldBy);
    const QString boardMode = parser.value(board);
    if (boardMode == QLatin1String("ok"))
        options.board = SimOptions::Board::Ok;
    else if (boardMode == QLatin1String("silent"))
        options.board = SimOptions::Board::Silent;
    else if (boardMode == QLatin1String("busy"))
        options.board = SimOptions::Board::Busy;
    else if (boardMode == QLatin1String("fail"))
        options.board = SimOptions::Board::Fail;
    else
        return usage(QStringLiteral("--board is ok, silent, busy or fail"));
    if (parser.isSet(vanish)) {
        options.vanishAfter = parser.value(vanish).toLongLong(&ok);
        if (!ok || options.vanishAfter < 0)
            return usage(QStringLiteral("--vanish-after needs a byte count"));
    }
    options.garbage = parser.isSet(garbage);
    options.ignoreHolds = parser.isSet(ignoreHolds);
    options.printing = parser.isSet(printing);
    const double life = parser.value(lifetime).toDouble(&ok);
    if (!ok || life < 0)
        return usage(QStringLiteral("--lifetime needs a number of seconds"));

    PrinterSimulator printer(options);
    QString error;
    if (!printer.start(&error)) {
        std::fprintf(stderr, "resinor-printer-sim: %s\n", qPrintable(error));
        return 1;
    }
    if (life > 0)
        QTimer::singleShot(int(life * 1000), &app, [] { QCoreApplication::exit(0); });
    return app.exec();
}

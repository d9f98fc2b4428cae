#include "network/PrinterCli.h"

#include "app/JsonText.h"
#include "network/DiscoveryTarget.h"
#include "network/FirmwareUpgrade.h"
#include "network/NetClientCmd.h"
#include "network/NetClientScaner.h"
#include "network/NetworkApp.h"
#include "network/PrinterProtocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace
{

const char *const kVerbs[] = {"--printers", "--send", "--control", "--board-firmware"};

const char kUsage[] =
    "Printer verbs (no window; one JSON line per printer on stdout):\n"
    "  --printers [--wait SECONDS]\n"
    "                         ask the network for printers, connect to every one that answers\n"
    "                         and print its state, job, versions, supplies and holder\n"
    "                         (waits up to 3 s by default)\n"
    "  --send FILE --printer IP [--printer IP...] [--print]\n"
    "                         take the printers and send them the work package FILE (a part or\n"
    "                         project is sliced first, with --layer-thickness, --supports,\n"
    "                         --platform and the transforms --scale, --rotate, --copies,\n"
    "                         --layout, --interval as for --export-vxpr); --print starts the\n"
    "                         print\n"
    "  --control IP pause|stop|take|release\n"
    "                         pause or continue, stop the print, take or release the printer\n"
    "  --board-firmware IP FILE [--query-interval SECONDS]\n"
    "                         upgrade the printer's control board with the firmware FILE\n"
    "  --discovery-target ADDR\n"
    "                         where the question goes (default 255.255.255.255; also the\n"
    "                         environment variable RESINOR_DISCOVERY_TARGET and the setting\n"
    "                         network/discoveryTarget)\n";

// Exit statuses.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

QString quoted(const QString &s)
{
    return jsonQuoted(s);
}

QString numberOrText(const QString &value)
{
    bool ok = false;
    value.toLongLong(&ok);
    return ok ? value : quoted(value);
}

// The printer as one JSON object.
QString printerJson(NetClientCmd *c)
{
    const auto v = [c](const char *key) { return quoted(c->get(QLatin1String(key))); };
    const QString holder =
        c->properties().contains(QStringLiteral("holder")) ? v("holder") : QStringLiteral("null");
    return QStringLiteral(
               "{\"ip\": %1, \"serial\": %2, \"name\": %3, "
               "\"state\": {\"device\": %4, \"print\": %5, \"supplies_sufficient\": %6}, "
               "\"progress\": %7, \"versions\": {\"a\": %8, \"b\": %9}, "
               "\"supplies\": %10, \"file\": {\"name\": %11, \"used_layers\": %12, "
               "\"total_layers\": %13}, \"holder\": %14}")
        .arg(v("IP"), v("ID"), v("Name"), v("DS"), v("PS"), v("SS"), v("progress"), v("RPiA"),
             v("RPiB"))
        .arg(v("supplies"), v("filename"), numberOrText(c->get(QStringLiteral("usedlayers"))),
             numberOrText(c->get(QStringLiteral("totallayers"))), holder);
}

// Runs the event loop until cond() holds or ms have passed; returns cond().
bool waitFor(const std::function<bool()> &cond, int ms)
{
    if (cond())
        return true;
    QEventLoop loop;
    QTimer tick;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (cond() || clock.elapsed() >= ms)
            loop.quit();
    });
    tick.start(5);
    loop.exec();
    return cond();
}

bool described(NetClientCmd *c)
{
    return c && !c->get(QStringLiteral("IP")).isEmpty() && c->properties().size() > 5 &&
           c->properties().contains(QStringLiteral("holder"));
}

struct Cli {
    QString verb;
    QStringList positional;
    QStringList printers;
    QStringList exportOptions;
    double waitSeconds = 3.0;
    double queryInterval = 10.0;
    bool print = false;
};

bool parse(const QStringList &args, Cli *cli, QString *error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&](QString *out) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            *out = args[++i];
            return true;
        };
        QString v;
        bool isVerb = false;
        for (const char *verb : kVerbs)
            isVerb = isVerb || a == QLatin1String(verb);
        if (isVerb) {
            if (!cli->verb.isEmpty()) {
                *error = QStringLiteral("only one verb at a time (%1 and %2)").arg(cli->verb, a);
                return false;
            }
            cli->verb = a;
        } else if (a == QLatin1String("--printer")) {
            if (!value(&v))
                return false;
            cli->printers << v;
        } else if (a == QLatin1String("--print")) {
            cli->print = true;
        } else if (a == QLatin1String("--discovery-target")) {
            if (!value(&v))
                return false;
            setDiscoveryTargetOption(v);
        } else if (a == QLatin1String("--wait") || a == QLatin1String("--query-interval")) {
            bool ok = false;
            if (!value(&v))
                return false;
            const double seconds = v.toDouble(&ok);
            if (!ok || !(seconds > 0) || seconds > 3600) {
                *error = QStringLiteral("%1 needs a number of seconds, e.g. 3").arg(a);
                return false;
            }
            (a == QLatin1String("--wait") ? cli->waitSeconds : cli->queryInterval) = seconds;
        } else if (a == QLatin1String("--layer-thickness") || a == QLatin1String("--supports") ||
                   a == QLatin1String("--platform") || a == QLatin1String("--scale") ||
                   a == QLatin1String("--rotate") || a == QLatin1String("--copies") ||
                   a == QLatin1String("--interval")) {
            if (!value(&v))
                return false;
            cli->exportOptions << a << v;
        } else if (a == QLatin1String("--layout")) {
            cli->exportOptions << a;
        } else if (a == QLatin1String("--verbose")) {
            // handled by the caller
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            cli->positional << a;
        }
    }
    return true;
}

bool isIpv4(const QString &text)
{
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv4Protocol;
}

class PrinterRun
{
  public:
    PrinterRun(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

    // A manager for talking to known addresses (no discovery question is sent).
    void createNetwork()
    {
        m_net = std::make_unique<NetworkApp>(nullptr, NetworkOptions::fromEnvironment());
        QObject::connect(
            m_net.get(), &NetworkApp::sLinkFailed, m_net.get(),
            [this](const QString &ip, const QString &reason) { m_linkErrors.insert(ip, reason); });
        // Ask every printer who holds it as soon as it has linked.
        QObject::connect(m_net.get(), &NetworkApp::sParseCommand, m_net.get(),
                         [this](NetClientCmd *c, const QByteArray &cmd) {
                             if (cmd.startsWith("linked") && !m_askedHolder.contains(c)) {
                                 m_askedHolder.insert(c);
                                 m_net->requestHolder(c);
                             }
                         });
    }

    // Connects to ip and waits until it is described; null with a message on failure.
    NetClientCmd *connectPrinter(const QString &ip)
    {
        m_net->linkDevice(ip);
        waitFor([&] { return described(m_net->device(ip)) || m_linkErrors.contains(ip); }, 8000);
        NetClientCmd *c = m_net->device(ip);
        if (described(c))
            return c;
        if (m_linkErrors.contains(ip))
            m_err << "Resinor: printer " << ip << ": cannot connect: " << m_linkErrors.value(ip)
                  << '\n';
        else if (c)
            m_err << "Resinor: printer " << ip << ": connected but it did not describe itself\n";
        else
            m_err << "Resinor: printer " << ip << ": no answer\n";
        return nullptr;
    }

    // Takes the printer for this user; false with a message when another user holds it.
    bool take(NetClientCmd *c)
    {
        const QString me = m_net->identity().text();
        if (c->get(QStringLiteral("holder")) == me)
            return true;
        const QString before = c->get(QStringLiteral("holder"));
        c->set(QStringLiteral("holder"), QStringLiteral("\n")); // no identity looks like this
        m_net->requestHold(c, true);
        if (!waitFor([&] { return c->get(QStringLiteral("holder")) != QLatin1String("\n"); },
                     3000)) {
            c->set(QStringLiteral("holder"), before);
            m_err << "Resinor: printer " << ip(c) << ": no answer to the hold request\n";
            return false;
        }
        if (c->get(QStringLiteral("holder")) != me) {
            m_err << "Resinor: printer " << ip(c) << ": held by another user ("
                  << c->get(QStringLiteral("holder")) << ")\n";
            return false;
        }
        return true;
    }

    static QString ip(NetClientCmd *c) { return c->get(QStringLiteral("IP")); }

    std::unique_ptr<NetworkApp> m_net;
    QMap<QString, QString> m_linkErrors;
    QSet<NetClientCmd *> m_askedHolder;
    QTextStream &m_out;
    QTextStream &m_err;
};

int runPrinters(const Cli &cli, QTextStream &out, QTextStream &err)
{
    if (!cli.positional.isEmpty()) {
        err << "Resinor: --printers takes no file (" << cli.positional.first() << ")\n";
        return kUsageError;
    }
    const DiscoveryTarget target = resolveDiscoveryTarget();
    if (!target.isValid()) {
        err << "Resinor: " << target.error << '\n';
        return kUsageError;
    }
    PrinterRun run(out, err);
    run.createNetwork();
    if (run.m_net->scanner()->state() != QAbstractSocket::BoundState) {
        err << "Resinor: cannot listen for printer answers on UDP port "
            << run.m_net->options().discoveryBindPort << ": " << run.m_net->scanner()->errorString()
            << '\n';
        return kFailed;
    }
    const int waitMs = int(cli.waitSeconds * 1000);
    QElapsedTimer clock;
    clock.start();
    qint64 lastNew = 0;
    int known = 0;
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, run.m_net.get(),
                     [&] { run.m_net->onQueryDeviceInfo(); });
    run.m_net->onQueryDeviceInfo();
    ask.start(1000); // datagrams may be lost: ask again; a known printer is only refreshed
    waitFor(
        [&] {
            const DeviceInfos devices = run.m_net->devices();
            if (devices.size() != known) {
                known = devices.size();
                lastNew = clock.elapsed();
            }
            if (clock.elapsed() >= waitMs)
                return true;
            bool all = !devices.isEmpty();
            for (NetClientCmd *c : devices)
                all = all && described(c);
            return all && clock.elapsed() - lastNew >= qMin(1000, waitMs);
        },
        waitMs + 100);
    ask.stop();
    DeviceInfos devices = run.m_net->devices();
    std::sort(devices.begin(), devices.end(), [](NetClientCmd *a, NetClientCmd *b) {
        return a->peerAddress().toIPv4Address() < b->peerAddress().toIPv4Address();
    });
    int shown = 0;
    for (NetClientCmd *c : devices) {
        if (c->get(QStringLiteral("IP")).isEmpty())
            continue;
        out << printerJson(c) << '\n';
        ++shown;
    }
    if (shown == 0)
        err << "Resinor: no printer answered at " << target.address << " within " << cli.waitSeconds
            << " s\n";
    return kDone;
}

// Slices a part or project into a package with this program's own --export-vxpr.
bool exportPackage(const QString &input, const QStringList &options, const QString &output,
                   QTextStream &err)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  QStringList{QStringLiteral("--export-vxpr"), output, input} + options);
    if (!process.waitForStarted(10000) || !process.waitForFinished(30 * 60 * 1000)) {
        process.kill();
        err << "Resinor: cannot slice " << input << ": the export did not finish\n";
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        err << "Resinor: cannot slice " << input << " (see above)\n";
        return false;
    }
    return true;
}

int runSend(const Cli &cli, QTextStream &out, QTextStream &err)
{
    if (cli.positional.size() != 1 || cli.printers.isEmpty()) {
        err << "Resinor: --send needs one FILE and at least one --printer IP\n";
        return kUsageError;
    }
    for (const QString &ip : cli.printers) {
        if (!isIpv4(ip)) {
            err << "Resinor: --printer needs an IPv4 address, not " << ip << '\n';
            return kUsageError;
        }
    }
    QString package = cli.positional.first();
    if (!QFileInfo(package).isFile()) {
        err << "Resinor: cannot read " << package << ": no such file\n";
        return kFailed;
    }
    QTemporaryDir scratch;
    if (QFileInfo(package).suffix().compare(QLatin1String("vxpr"), Qt::CaseInsensitive) != 0) {
        const QString sliced =
            scratch.filePath(QFileInfo(package).completeBaseName() + QStringLiteral(".vxpr"));
        err << "Resinor: slicing " << package << '\n';
        err.flush();
        if (!exportPackage(package, cli.exportOptions, sliced, err))
            return kFailed;
        package = sliced;
    } else if (!cli.exportOptions.isEmpty()) {
        err << "Resinor: " << cli.exportOptions.first() << " applies to parts and projects only; "
            << package << " is already a package\n";
        return kUsageError;
    }
    const qint64 size = QFileInfo(package).size();

    PrinterRun run(out, err);
    run.createNetwork();
    QList<NetClientCmd *> targets;
    QMap<NetClientCmd *, QString> failures;
    int failed = 0;
    for (const QString &ip : cli.printers) {
        NetClientCmd *c = run.connectPrinter(ip);
        if (!c || !run.take(c)) {
            ++failed;
            continue;
        }
        targets << c;
    }
    QMap<NetClientCmd *, int> percent;
    QSet<NetClientCmd *> finished;
    QSet<NetClientCmd *> confirmed;
    const bool terminal = isatty(fileno(stderr));
    const auto drawProgress = [&] {
        if (!terminal || targets.isEmpty())
            return;
        int sum = 0;
        for (NetClientCmd *c : targets)
            sum += percent.value(c);
        const int p = sum / targets.size();
        const int width = 40;
        std::fprintf(stderr, "\rsending    [%s%s] %3d%%",
                     QByteArray(p * width / 100, '#').constData(),
                     QByteArray(width - p * width / 100, ' ').constData(), p);
        std::fflush(stderr);
    };
    QObject::connect(run.m_net.get(), &NetworkApp::sTransferFinished, run.m_net.get(),
                     [&](NetClientCmd *c, bool ok, const QString &error) {
                         finished.insert(c);
                         if (!ok)
                             failures.insert(c, error);
                     });
    QObject::connect(run.m_net.get(), &NetworkApp::sTransferConfirmed, run.m_net.get(),
                     [&](NetClientCmd *c) { confirmed.insert(c); });
    QObject::connect(run.m_net.get(), &NetworkApp::updateDeviceList, run.m_net.get(),
                     [&](const DeviceInfos &list) {
                         for (NetClientCmd *c : qAsConst(targets))
                             if (!list.contains(c) && !confirmed.contains(c)) {
                                 finished.insert(c);
                                 failures.insert(c, QStringLiteral("the printer disconnected"));
                             }
                     });
    QMap<NetClientCmd *, QString> ips;
    for (NetClientCmd *c : qAsConst(targets)) {
        ips.insert(c, PrinterRun::ip(c));
        c->setProgressCallback([&percent, &drawProgress, c](int p, const QString &, bool) {
            percent.insert(c, p);
            drawProgress();
        });
        c->set(QStringLiteral("afterPrint"), cli.print ? QStringLiteral("1") : QStringLiteral("0"));
        c->set(QStringLiteral("fileType"), QStringLiteral("vxpr"));
        c->sendFile(package);
    }
    // Bounded by a generous floor plus the time of a slow (100 kB/s) link.
    const int limitMs = int(qMin<qint64>(30000 + size / 100, 3600 * 1000));
    const auto done = [&] {
        for (NetClientCmd *c : qAsConst(targets)) {
            if (failures.contains(c))
                continue;
            if (!finished.contains(c) || !confirmed.contains(c))
                return false;
        }
        return true;
    };
    const bool ended = waitFor(done, limitMs);
    if (terminal && !targets.isEmpty())
        std::fputc('\n', stderr);
    for (NetClientCmd *c : qAsConst(targets)) {
        const QString ip = ips.value(c);
        QString error = failures.value(c);
        if (error.isEmpty() && !ended && !confirmed.contains(c))
            error =
                finished.contains(c)
                    ? QStringLiteral("the printer did not confirm the file")
                    : QStringLiteral("the transfer did not end within %1 s").arg(limitMs / 1000);
        const bool ok = error.isEmpty();
        out << QStringLiteral("{\"ip\": %1, \"file\": %2, \"bytes\": %3, \"print\": %4, "
                              "\"sent\": %5%6}")
                   .arg(quoted(ip), quoted(QFileInfo(cli.positional.first()).fileName()))
                   .arg(size)
                   .arg(cli.print ? QStringLiteral("true") : QStringLiteral("false"),
                        ok ? QStringLiteral("true") : QStringLiteral("false"),
                        ok ? QString() : QStringLiteral(", \"error\": ") + quoted(error))
            << '\n';
        if (!ok) {
            err << "Resinor: printer " << ip << ": sending failed: " << error << '\n';
            ++failed;
        }
    }
    return failed == 0 ? kDone : kFailed;
}

int runControl(const Cli &cli, QTextStream &out, QTextStream &err)
{
    static const QStringList actions = {QStringLiteral("pause"), QStringLiteral("stop"),
                                        QStringLiteral("take"), QStringLiteral("release")};
    if (cli.positional.size() != 2 || !isIpv4(cli.positional[0]) ||
        !actions.contains(cli.positional[1])) {
        err << "Resinor: --control needs a printer IP and one of pause, stop, take, release\n";
        return kUsageError;
    }
    const QString ip = cli.positional[0];
    const QString action = cli.positional[1];
    PrinterRun run(out, err);
    run.createNetwork();
    NetClientCmd *c = run.connectPrinter(ip);
    if (!c)
        return kFailed;
    int status = kDone;
    if (action == QLatin1String("take")) {
        status = run.take(c) ? kDone : kFailed;
    } else if (action == QLatin1String("release")) {
        const QString me = run.m_net->identity().text();
        if (c->get(QStringLiteral("holder")) == me) {
            run.m_net->requestHold(c, false);
            if (!waitFor([&] { return c->get(QStringLiteral("holder")) != me; }, 3000)) {
                err << "Resinor: printer " << ip << ": the printer kept the hold\n";
                status = kFailed;
            }
        } else {
            err << "Resinor: printer " << ip << ": not held by this user; nothing to release\n";
        }
    } else {
        if (c->get(QStringLiteral("DS")).compare(QLatin1String("runing"), Qt::CaseInsensitive) !=
            0) {
            err << "Resinor: printer " << ip << ": not printing; nothing to " << action << '\n';
            out << printerJson(c) << '\n';
            return kFailed;
        }
        const QString ds = c->get(QStringLiteral("DS"));
        const QString ps = c->get(QStringLiteral("PS"));
        c->writeBytes(PrinterProtocol::encodeText(action == QLatin1String("pause")
                                                      ? QStringLiteral("operation pause")
                                                      : QStringLiteral("operation quit")));
        // The printer tells its new state in a "dev_infos".
        if (!waitFor(
                [&] {
                    return c->get(QStringLiteral("DS")) != ds || c->get(QStringLiteral("PS")) != ps;
                },
                3000)) {
            err << "Resinor: printer " << ip << ": the state did not change after " << action
                << '\n';
            status = kFailed;
        }
    }
    if (run.m_net->device(ip))
        out << printerJson(c) << '\n';
    return status;
}

int runBoardFirmware(const Cli &cli, QTextStream &out, QTextStream &err)
{
    if (cli.positional.size() != 2 || !isIpv4(cli.positional[0])) {
        err << "Resinor: --board-firmware needs a printer IP and a firmware FILE\n";
        return kUsageError;
    }
    const QString ip = cli.positional[0];
    const QString file = cli.positional[1];
    if (!QFileInfo(file).isFile()) {
        err << "Resinor: cannot read " << file << ": no such file\n";
        return kFailed;
    }
    PrinterRun run(out, err);
    run.createNetwork();
    NetClientCmd *c = run.connectPrinter(ip);
    if (!c)
        return kFailed;
    FirmwareUpgrade upgrade(c);
    FirmwareUpgrade::Timings timings;
    timings.queryIntervalMs = int(cli.queryInterval * 1000);
    upgrade.setTimings(timings);
    int erased = 0;
    QObject::connect(&upgrade, &FirmwareUpgrade::sMessage, &upgrade, [&](const QString &key) {
        if (key == QLatin1String("EraseOk"))
            err << "Resinor: " << ip << ": erase answered (" << ++erased << ")\n";
        else if (key == QLatin1String("Upgrading"))
            err << "Resinor: " << ip << ": programming, waiting for the board's result\n";
        err.flush();
    });
    bool ended = false;
    bool ok = false;
    QString reason;
    QObject::connect(&upgrade, &FirmwareUpgrade::sFinished, &upgrade,
                     [&](bool success, const QString &why) {
                         ended = true;
                         ok = success;
                         reason = why;
                     });
    QString error;
    if (!upgrade.start(file, &error)) {
        err << "Resinor: printer " << ip << ": " << error << '\n';
        return kFailed;
    }
    // Every phase of the upgrade has its own bound; this one only guards against a stuck loop.
    const int limitMs = timings.eraseMs + timings.prepareMs +
                        timings.queryIntervalMs * (timings.queryPeriods + 1) + 5000;
    waitFor([&] { return ended; }, limitMs);
    if (!ended)
        reason = QStringLiteral("the upgrade did not end");
    out << QStringLiteral("{\"ip\": %1, \"firmware\": %2, \"bytes\": %3, \"upgraded\": %4%5}")
               .arg(quoted(ip), quoted(QFileInfo(file).fileName()))
               .arg(QFileInfo(file).size())
               .arg(ok ? QStringLiteral("true") : QStringLiteral("false"),
                    ok ? QString() : QStringLiteral(", \"error\": ") + quoted(reason))
        << '\n';
    if (!ok) {
        err << "Resinor: printer " << ip << ": firmware upgrade failed: " << reason << '\n';
        return kFailed;
    }
    return kDone;
}

} // namespace

const char *printerCliUsage()
{
    return kUsage;
}

bool isPrinterCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char *verb : kVerbs)
            if (std::strcmp(argv[i], verb) == 0)
                return true;
    return false;
}

int runPrinterCli(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Resinor"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (!args.contains(QStringLiteral("--verbose")))
        QLoggingCategory::setFilterRules(
            QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    Cli cli;
    QString error;
    if (!parse(args, &cli, &error)) {
        err << "Resinor: " << error << "\n\n" << kUsage;
        return kUsageError;
    }
    int status = kUsageError;
    if (cli.verb == QLatin1String("--printers"))
        status = runPrinters(cli, out, err);
    else if (cli.verb == QLatin1String("--send"))
        status = runSend(cli, out, err);
    else if (cli.verb == QLatin1String("--control"))
        status = runControl(cli, out, err);
    else if (cli.verb == QLatin1String("--board-firmware"))
        status = runBoardFirmware(cli, out, err);
    out.flush();
    err.flush();
    return status;
}

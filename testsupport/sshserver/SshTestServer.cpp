#include "testsupport/sshserver/SshTestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef RESINOR_SSH_SHIM
#error "RESINOR_SSH_SHIM must name the sandbox preload library"
#endif

namespace testsupport
{

namespace
{

const char kSftpServer[] = "/usr/lib/openssh/sftp-server";
// The account the tests' server runs as when the tests themselves run as root.
constexpr uid_t kNobody = 65534;

QString sshd()
{
    return QStandardPaths::findExecutable(
        QStringLiteral("sshd"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"), QStringLiteral("/sbin")});
}

QString keygen()
{
    return QStandardPaths::findExecutable(QStringLiteral("ssh-keygen"));
}

bool writeText(const QString &path, const QByteArray &text, QFile::Permissions permissions,
               QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    file.setPermissions(permissions);
    return true;
}

quint16 freePort(const QString &address)
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress(address), 0))
        return 0;
    return probe.serverPort();
}

// The printer side. Each accepted command line is matched literally; the few paths taken
// from a command are checked against a narrow pattern before they are used, always inside
// the sandbox. Nothing else runs.
const char kPrinterScript[] = R"SH(#!/bin/sh
R='@ROOT@'
H="$R/home/pi"
cmd="$SSH_ORIGINAL_COMMAND"
fail() { printf '%s\n' "$1" >&2; exit "${2:-1}"; }
# Checks a name taken from a command: letters, digits, '.', '_', '-' and '/', no "..".
safe() {
    case "$1" in ''|*..*|*[!A-Za-z0-9._/-]*) return 1 ;; esac
    return 0
}
# Ends this client's own session process (the nearest sshd above this script), as a printer
# going down drops its connections.
drop_session() {
    p=$PPID
    while [ -n "$p" ] && [ "$p" != 1 ]; do
        if [ "$(cat /proc/$p/comm 2>/dev/null)" = sshd ]; then kill -9 "$p"; exit 0; fi
        p=$(awk '{print $4}' /proc/$p/stat 2>/dev/null)
    done
    fail "fake printer: no session process found" 2
}
if [ "$cmd" = '@SFTP@' ]; then
    RESINOR_SHIM_ROOT="$R" LD_PRELOAD='@SHIM@' exec '@SFTP@' -d /home/pi
fi
printf '%s\n' "$cmd" >> "$R/commands.log"
case "$cmd" in
'dir=/home/pi/'*' ; if [ ! -d $dir ] ; then mkdir $dir ; fi '|\
'dir=/home/pi/'*' ;if [ ! -d $dir ] ; then mkdir $dir ; fi ')
    sub=${cmd#dir=/home/pi/}
    sub=${sub%% *}
    safe "$sub" || fail "fake printer: refused folder $sub" 2
    [ -d "$H/$sub" ] && exit 0
    mkdir "$H/$sub" 2>/dev/null || fail "mkdir: cannot create directory '/home/pi/$sub': No such file or directory"
    ;;
'file=/home/pi/.Brevimund/lightCalib/LightMachineCalibration.ini ; if [ -f $file ] ; then rm $file ; fi ')
    rm -f "$H/.Brevimund/lightCalib/LightMachineCalibration.ini"
    ;;
'syscfg=/home/pi/syscfg ; if [ -d $syscfg ] ; then sudo rm $syscfg -rf;fi ; mkdir $syscfg ;')
    rm -rf "$H/syscfg"
    mkdir "$H/syscfg"
    ;;
'syscfg=/home/pi/syscfg ; if [ -d $syscfg ] ; then sudo rm $syscfg -rf;fi ; mkdir $syscfg ;unzip -P '*' /home/pi/'*' -d $syscfg ; cd $syscfg ;sudo chmod +x setup.sh; ./setup.sh;')
    rest=${cmd#*unzip -P }
    password=${rest%% *}
    package=${rest#* /home/pi/}
    package=${package%% -d *}
    safe "$package" || fail "unzip:  cannot find or open /home/pi/$package" 9
    rm -rf "$H/syscfg"
    mkdir "$H/syscfg"
    if ! unzip -qq -o -P "$password" "$H/$package" -d "$H/syscfg" >/dev/null 2>"$R/unzip.err"; then
        sed "s|$H|/home/pi|g" "$R/unzip.err" >&2
        fail "unzip: /home/pi/$package could not be extracted" 9
    fi
    [ -f "$H/syscfg/setup.sh" ] || fail "./setup.sh: 1: ./setup.sh: not found" 127
    # The package's setup script is recorded, never run.
    printf '%s\n' "setup.sh" >> "$R/setup.log"
    printf '%s\n' "setup finished"
    ;;
'sudo reboot')
    # Recorded, never done; the connection drops as a real reboot drops it.
    printf '%s\n' "reboot" >> "$R/reboot.log"
    drop_session
    ;;
'sudo cp /home/pi/DlpA/OrvaneDlpPiUI /home/pi/corefile')
    cp "$H/DlpA/OrvaneDlpPiUI" "$H/corefile" 2>/dev/null ||
        fail "cp: cannot stat '/home/pi/DlpA/OrvaneDlpPiUI': No such file or directory"
    ;;
'cd /home/pi;tar czvPf  corefile.tar.gz  corefile')
    cd "$H" && tar czPf corefile.tar.gz corefile || fail "tar: corefile: Cannot stat" 2
    printf '%s\n' "corefile"
    ;;
'fixture-stdout '*)
    printf '%s\n' "${cmd#fixture-stdout }"
    ;;
'fixture-stderr '*)
    printf '%s\n' "${cmd#fixture-stderr }" >&2
    ;;
'fixture-exit '*)
    code=${cmd#fixture-exit }
    case "$code" in ''|*[!0-9]*) fail "fake printer: bad status" 2 ;; esac
    printf '%s\n' "exiting with $code"
    exit "$code"
    ;;
'fixture-stderr-then-wait')
    printf '%s\n' "first complaint" >&2
    sleep 2
    ;;
'fixture-drop-connection')
    printf '%s\n' "going down"
    drop_session
    ;;
'fixture-lines '*)
    n=${cmd#fixture-lines }
    case "$n" in ''|*[!0-9]*) fail "fake printer: bad count" 2 ;; esac
    [ "$n" -le 100000 ] || fail "fake printer: count too large" 2
    i=1
    while [ "$i" -le "$n" ]; do printf 'line %d\n' "$i"; i=$((i + 1)); done
    ;;
*)
    fail "fake printer: command not available: $cmd" 127
    ;;
esac
exit 0
)SH";

} // namespace

SshTestServer::SshTestServer() : m_asRoot(::geteuid() == 0) {}

SshTestServer::~SshTestServer()
{
    stop();
}

QString SshTestServer::unavailableReason()
{
    if (sshd().isEmpty())
        return QStringLiteral("sshd is not installed (Debian package openssh-server)");
    if (keygen().isEmpty())
        return QStringLiteral("ssh-keygen is not installed (Debian package openssh-client)");
    if (!QFile::exists(QString::fromLatin1(kSftpServer)))
        return QStringLiteral("%1 is missing").arg(QString::fromLatin1(kSftpServer));
    return {};
}

QString SshTestServer::clientKeyPath() const
{
    return m_dir.filePath(QStringLiteral("client_key"));
}

QString SshTestServer::home() const
{
    return m_dir.filePath(QStringLiteral("home/pi"));
}

bool SshTestServer::start(QString *error)
{
    const QString why = unavailableReason();
    if (!why.isEmpty()) {
        *error = why;
        return false;
    }
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    if (!QHostAddress(m_address).isLoopback()) {
        *error = QStringLiteral("the test server listens on loopback addresses only");
        return false;
    }
    return generate(error) && launch(error);
}

bool SshTestServer::generate(QString *error)
{
    const QString root = m_dir.path();
    QDir().mkpath(home());
    for (const QString &key : {QStringLiteral("host_key"), QStringLiteral("client_key")}) {
        QFile::remove(m_dir.filePath(key));
        QFile::remove(m_dir.filePath(key + QStringLiteral(".pub")));
        QProcess gen;
        gen.start(keygen(),
                  {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                   QStringLiteral("-N"), QString(), QStringLiteral("-C"),
                   QStringLiteral("resinor-test"), QStringLiteral("-f"), m_dir.filePath(key)});
        if (!gen.waitForFinished(30000) || gen.exitCode() != 0) {
            *error = QStringLiteral("ssh-keygen failed: %1")
                         .arg(QString::fromLocal8Bit(gen.readAllStandardError()));
            return false;
        }
    }
    if (!QFile::copy(m_dir.filePath(QStringLiteral("client_key.pub")),
                     m_dir.filePath(QStringLiteral("authorized_keys")))) {
        *error = QStringLiteral("cannot write authorized_keys");
        return false;
    }
    QByteArray script(kPrinterScript);
    script.replace("@ROOT@", QFile::encodeName(root));
    script.replace("@SHIM@", RESINOR_SSH_SHIM);
    script.replace("@SFTP@", kSftpServer);
    if (!writeText(m_dir.filePath(QStringLiteral("printer.sh")), script,
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                       QFile::ExeOther,
                   error))
        return false;

    if (m_asRoot) {
        // The server runs as nobody: it must own its folder and be able to read its keys.
        ::chown(QFile::encodeName(root).constData(), kNobody, kNobody);
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            ::chown(QFile::encodeName(it.next()).constData(), kNobody, kNobody);
    }
    return true;
}

bool SshTestServer::launch(QString *error)
{
    const QString root = m_dir.path();
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (m_port == 0)
            m_port = freePort(m_address);
        const QString config = QStringLiteral("ListenAddress %4\n"
                                              "Port %1\n"
                                              "HostKey %2/host_key\n"
                                              "PidFile %2/sshd.pid\n"
                                              "AuthorizedKeysFile %2/authorized_keys\n"
                                              "UsePAM no\n"
                                              "StrictModes no\n"
                                              "PasswordAuthentication yes\n"
                                              "KbdInteractiveAuthentication no\n"
                                              "PubkeyAuthentication yes\n"
                                              "PermitRootLogin no\n"
                                              "PermitEmptyPasswords no\n"
                                              "AllowUsers pi\n"
                                              "ForceCommand %2/printer.sh\n"
                                              "Subsystem sftp %3\n"
                                              "DisableForwarding yes\n"
                                              "PermitTTY no\n"
                                              "PermitTunnel no\n"
                                              "PermitUserEnvironment no\n"
                                              "PrintMotd no\n"
                                              "LoginGraceTime 30\n"
                                              "LogLevel VERBOSE\n")
                                   .arg(m_port)
                                   .arg(root, QString::fromLatin1(kSftpServer), m_address);
        if (!writeText(m_dir.filePath(QStringLiteral("sshd_config")), config.toUtf8(),
                       QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther, error))
            return false;
        QFile::remove(m_dir.filePath(QStringLiteral("sshd.pid")));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QString::fromLocal8Bit(RESINOR_SSH_SHIM));
        env.insert(QStringLiteral("RESINOR_SHIM_USER"), userName());
        env.insert(QStringLiteral("RESINOR_SHIM_HOME"), home());
        env.insert(QStringLiteral("RESINOR_SHIM_PASSWORD"), password());
        m_sshd = std::make_unique<QProcess>();
        m_sshd->setProcessEnvironment(env);
        m_sshd->setProcessChannelMode(QProcess::MergedChannels);
        m_sshd->setStandardOutputFile(m_dir.filePath(QStringLiteral("sshd.log")),
                                      QIODevice::Append);
        QStringList args{QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"),
                         m_dir.filePath(QStringLiteral("sshd_config"))};
        QString program = sshd();
        if (m_asRoot) {
            // setpriv replaces itself with sshd, so the PID stays the server's own.
            args.prepend(program);
            args = QStringList{QStringLiteral("--reuid=%1").arg(kNobody),
                               QStringLiteral("--regid=%1").arg(kNobody),
                               QStringLiteral("--clear-groups")} +
                   args;
            program = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        }
        m_sshd->start(program, args);
        if (!m_sshd->waitForStarted(10000)) {
            *error = QStringLiteral("cannot start sshd: %1").arg(m_sshd->errorString());
            return false;
        }
        // The PID file appears once the server listens.
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && m_sshd->state() == QProcess::Running &&
               !QFile::exists(m_dir.filePath(QStringLiteral("sshd.pid"))))
            QThread::msleep(20);
        if (m_sshd->state() == QProcess::Running &&
            QFile::exists(m_dir.filePath(QStringLiteral("sshd.pid"))))
            return true;
        stop();
        m_port = 0; // the port may have been taken meanwhile: try another
    }
    *error = QStringLiteral("sshd did not start:\n%1").arg(log());
    return false;
}

void SshTestServer::stopDescendants()
{
    // The connection handlers sshd forked for clients that are still connected.
    if (!m_sshd || m_sshd->processId() <= 0)
        return;
    QList<qint64> parents{m_sshd->processId()};
    QList<qint64> found;
    for (int depth = 0; depth < 4 && !parents.isEmpty(); ++depth) {
        QList<qint64> next;
        const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
        for (const QString &entry : entries) {
            bool ok = false;
            const qint64 pid = entry.toLongLong(&ok);
            if (!ok)
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            const int close = text.lastIndexOf(')');
            const QList<QByteArray> fields = text.mid(close + 2).split(' ');
            if (fields.size() > 1 && parents.contains(fields.at(1).toLongLong()))
                next.append(pid);
        }
        found += next;
        parents = next;
    }
    for (qint64 pid : found)
        ::kill(pid_t(pid), SIGTERM);
}

void SshTestServer::stop()
{
    if (!m_sshd)
        return;
    if (m_sshd->state() != QProcess::NotRunning) {
        stopDescendants();
        m_sshd->terminate();
        if (!m_sshd->waitForFinished(5000)) {
            m_sshd->kill();
            m_sshd->waitForFinished(5000);
        }
    }
    m_sshd.reset();
}

bool SshTestServer::changeHostKey(QString *error)
{
    stop();
    QFile::remove(m_dir.filePath(QStringLiteral("host_key")));
    QFile::remove(m_dir.filePath(QStringLiteral("host_key.pub")));
    QProcess gen;
    gen.start(keygen(), {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                         QStringLiteral("-N"), QString(), QStringLiteral("-f"),
                         m_dir.filePath(QStringLiteral("host_key"))});
    if (!gen.waitForFinished(30000) || gen.exitCode() != 0) {
        *error = QStringLiteral("ssh-keygen failed");
        return false;
    }
    if (m_asRoot) {
        ::chown(QFile::encodeName(m_dir.filePath(QStringLiteral("host_key"))).constData(), kNobody,
                kNobody);
        ::chown(QFile::encodeName(m_dir.filePath(QStringLiteral("host_key.pub"))).constData(),
                kNobody, kNobody);
    }
    return launch(error);
}

void SshTestServer::giveToServer(const QString &path) const
{
    if (m_asRoot)
        ::chown(QFile::encodeName(path).constData(), kNobody, kNobody);
}

void SshTestServer::resetHome()
{
    QDir(home()).removeRecursively();
    QDir().mkpath(home());
    giveToServer(home());
}

bool SshTestServer::putFile(const QString &relativePath, const QByteArray &bytes)
{
    const QStringList parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = home();
    for (int i = 0; i + 1 < parts.size(); ++i) {
        path += QLatin1Char('/') + parts.at(i);
        if (!QDir().exists(path)) {
            QDir().mkdir(path);
            giveToServer(path);
        }
    }
    path += QLatin1Char('/') + parts.value(parts.size() - 1);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    giveToServer(path);
    return true;
}

QStringList SshTestServer::commands() const
{
    QFile file(m_dir.filePath(QStringLiteral("commands.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int SshTestServer::reboots() const
{
    QFile file(m_dir.filePath(QStringLiteral("reboot.log")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().count('\n');
}

QString SshTestServer::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("sshd.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll());
}

} // namespace testsupport

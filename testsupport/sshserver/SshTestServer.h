#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testsupport
{

// A real OpenSSH server for the tests, confined to a temporary folder:
// - listens on 127.0.0.1 at a free high port, runs as the current user (or as nobody when the
//   tests run as root), with its own configuration, host key, authorized keys and PID file;
// - knows one account, "pi", with password password() and the key clientKeyPath();
// - every command is handed to a fake printer script that records it in commands(), emulates
//   only the printer commands the maintenance operations send (with "/home/pi" mapped into
//   home()) and refuses everything else: no shell, no sudo, no reboot (a reboot is recorded);
// - SFTP sees "/home/pi" as home() and refuses paths outside the folder.
// The server is stopped by its PID when the object goes.
class SshTestServer
{
  public:
    SshTestServer();
    ~SshTestServer();
    SshTestServer(const SshTestServer &) = delete;
    SshTestServer &operator=(const SshTestServer &) = delete;

    // Why the server cannot run here (no sshd or ssh-keygen), or empty.
    static QString unavailableReason();

    // The loopback address to listen on (default 127.0.0.1); set before start().
    void setListenAddress(const QString &address) { m_address = address; }
    QString listenAddress() const { return m_address; }

    // Generates everything and starts the server; false with a reason on failure.
    bool start(QString *error);
    void stop();
    // Gives the server a new host key and restarts it on the same port.
    bool changeHostKey(QString *error);

    quint16 port() const { return m_port; }
    QString userName() const { return QStringLiteral("pi"); }
    QString password() const { return QStringLiteral("MoraveLinkP7"); }
    QString clientKeyPath() const;
    // The sandboxed printer home that "/home/pi" stands for.
    QString home() const;
    QString root() const { return m_dir.path(); }

    // Empties the printer home. Then places a file there (path relative to home(), folders
    // created), owned by the account the server runs as so that the printer may change it.
    void resetHome();
    bool putFile(const QString &relativePath, const QByteArray &bytes);

    // The command lines received so far, in order (SFTP sessions excluded).
    QStringList commands() const;
    // How many times the printer was asked to reboot.
    int reboots() const;
    // The server's log, for failure messages.
    QString log() const;

  private:
    bool generate(QString *error);
    bool launch(QString *error);
    void stopDescendants();
    void giveToServer(const QString &path) const;

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_sshd;
    QString m_address = QStringLiteral("127.0.0.1");
    quint16 m_port = 0;
    bool m_asRoot = false;
};

} // namespace testsupport

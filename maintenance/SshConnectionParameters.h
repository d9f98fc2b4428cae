#pragma once

#include <QMetaType>
#include <QString>

namespace QSsh
{

// Why a connection failed or ended; the connection's errorString() carries the readable text.
enum SshError {
    SshNoError,
    SshSocketError,
    SshTimeoutError,
    SshProtocolError,
    SshHostKeyError,
    SshKeyFileError,
    SshAuthenticationError,
    SshClosedByServerError,
    SshInternalError
};

// Identifies one file copy on an SFTP channel.
using SftpJobId = quint32;
constexpr SftpJobId SftpInvalidJob = 0;

enum SftpOverwriteMode { SftpOverwriteExisting, SftpSkipExisting };

// Everything needed to open one SSH connection. Equal parameters share one connection
// (acquireConnection).
class SshConnectionParameters
{
  public:
    enum AuthenticationType {
        // The password, then keyboard-interactive answered with the password.
        AuthenticationTypeTryAllPasswordBasedMethods,
        AuthenticationTypePublicKey,
        // The key file first when one is given, then the password-based methods.
        AuthenticationTypeAll
    };
    enum HostKeyCheckingMode {
        // Trust a host's key the first time, refuse a changed one (needs hostKeyDatabase).
        HostKeyCheckingTrustOnFirstUse,
        HostKeyCheckingNone
    };

    QString host;
    QString userName;
    QString password;
    QString privateKeyFile;
    quint16 port = 22;
    int timeout = 30; // seconds, for the TCP connection and each blocking exchange
    AuthenticationType authenticationType = AuthenticationTypeTryAllPasswordBasedMethods;
    HostKeyCheckingMode hostKeyCheckingMode = HostKeyCheckingTrustOnFirstUse;
    QString hostKeyDatabase; // file of trusted host keys; empty = nothing is checked

    // "host" for port 22, "[host]:port" otherwise: how a host's key is filed.
    QString hostKeyId() const;

    friend bool operator==(const SshConnectionParameters &a, const SshConnectionParameters &b);
    friend bool operator!=(const SshConnectionParameters &a, const SshConnectionParameters &b)
    {
        return !(a == b);
    }
};

} // namespace QSsh

Q_DECLARE_METATYPE(QSsh::SshError)

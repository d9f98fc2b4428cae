#pragma once

#include <QMap>
#include <QString>

namespace QSsh
{

// The trusted SSH host keys, one line per host: "<host id> <SHA256 fingerprint>".
// Reading and writing happen on whichever thread asks; callers do not share one file
// between concurrent writers.
class HostKeyStore
{
  public:
    explicit HostKeyStore(QString path);

    const QString &path() const { return m_path; }

    // The fingerprint filed for the host id, or empty when the host is not known yet.
    QString fingerprint(const QString &hostId) const;

    // Files (or replaces) the host's fingerprint. The previous file stays intact on failure.
    bool store(const QString &hostId, const QString &fingerprint, QString *error = nullptr);

  private:
    QMap<QString, QString> read() const;

    QString m_path;
};

} // namespace QSsh

#pragma once

#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace simtest
{

// Spins the event loop until cond() holds or ms have passed; returns cond().
bool waitUntil(const std::function<bool()> &cond, int ms = 5000);

// A loopback address block of this test process: 127.B.C.x with B and C drawn per process, so
// that test programs running side by side never bind the same address.
QString loopbackAddress(int host);

// One shipped printer simulator, started on a loopback address and stopped (by its process) when
// this object dies.
class SimPrinter
{
  public:
    // Starts resinor-printer-sim on address with the extra arguments; waits for "ready".
    SimPrinter(const QString &address, const QStringList &args = QStringList());
    ~SimPrinter();

    bool isReady() const { return m_ready; }
    QString address() const { return m_address; }
    QString storage() const { return m_storage.path(); }
    QString serial() const { return m_serial; }
    // Every line the simulator printed so far.
    QStringList lines();
    // Waits until a line matches pattern; returns the first match's line or empty.
    QString waitForLine(const QString &pattern, int ms = 5000);
    int count(const QString &pattern);
    void kill();
    qint64 pid() const { return m_process ? m_process->processId() : 0; }

  private:
    void drain();

    std::unique_ptr<QProcess> m_process;
    QTemporaryDir m_storage;
    QString m_address;
    QString m_serial;
    QStringList m_lines;
    QByteArray m_partial;
    bool m_ready = false;
};

QString simProgram();

} // namespace simtest

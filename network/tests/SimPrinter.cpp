#include "SimPrinter.h"

#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

namespace simtest
{

bool waitUntil(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() > ms)
            return cond();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

QString loopbackAddress(int host)
{
    static const quint32 block = [] {
        const quint32 r = QRandomGenerator::global()->generate();
        return (10 + (r % 240)) << 8 | (1 + ((r >> 8) % 250));
    }();
    return QStringLiteral("127.%1.%2.%3").arg(block >> 8).arg(block & 0xFF).arg(host);
}

QString simProgram()
{
    return testsupport::builtProgram(QStringLiteral("resinor-printer-sim"));
}

SimPrinter::SimPrinter(const QString &address, const QStringList &args) : m_address(address)
{
    m_serial = QStringLiteral("SIM-") + address;
    QStringList all = {QStringLiteral("--address"),  address,
                       QStringLiteral("--storage"),  m_storage.path(),
                       QStringLiteral("--lifetime"), QStringLiteral("300")};
    const int serialAt = args.indexOf(QStringLiteral("--serial"));
    if (serialAt >= 0)
        m_serial = args.value(serialAt + 1);
    all += args;
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(simProgram(), all);
    if (!m_process->waitForStarted(5000))
        return;
    m_ready = !waitForLine(QStringLiteral("^ready "), 5000).isEmpty();
}

SimPrinter::~SimPrinter()
{
    kill();
}

void SimPrinter::kill()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill(); // ends exactly the process this object started
        m_process->waitForFinished(5000);
    }
}

void SimPrinter::drain()
{
    if (!m_process)
        return;
    m_partial += m_process->readAllStandardOutput();
    int nl;
    while ((nl = m_partial.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_partial.left(nl));
        m_partial.remove(0, nl + 1);
    }
}

QStringList SimPrinter::lines()
{
    drain();
    return m_lines;
}

QString SimPrinter::waitForLine(const QString &pattern, int ms)
{
    const QRegularExpression re(pattern);
    QString found;
    waitUntil(
        [&] {
            if (m_process)
                m_process->waitForReadyRead(0);
            for (const QString &line : lines())
                if (re.match(line).hasMatch()) {
                    found = line;
                    return true;
                }
            return false;
        },
        ms);
    return found;
}

int SimPrinter::count(const QString &pattern)
{
    const QRegularExpression re(pattern);
    int n = 0;
    for (const QString &line : lines())
        n += re.match(line).hasMatch() ? 1 : 0;
    return n;
}

} // namespace simtest

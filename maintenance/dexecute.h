#pragma once

#include "maintenance/dobject.h"

#include <QSharedPointer>

namespace QSsh
{
class SshRemoteProcess;
}

// Runs one shell command on the connection's host.
class dexecute : public dobject
{
    Q_OBJECT
  public:
    using dobject::dobject;

    // Blocks (nested event loop) until the command ends or first writes to its error output.
    // True when it wrote no error output and did not exit with a non-zero status.
    bool execute(const QString &command);

    // Whether the connection broke while the command ran (the host went away).
    bool connectionLost() const { return m_lost; }

    // Everything the command wrote to its standard output.
    QByteArray output() const { return m_output; }

  signals:
    void sBegin();
    void sFinished();

  public slots:
    void onStarted();
    void onClosed();
    void onOutput();
    void onError();

  private:
    QSharedPointer<QSsh::SshRemoteProcess> m_process;
    QByteArray m_output;
    bool m_done = false;
    bool m_inError = false;
    bool m_lost = false;
};

#pragma once

#include <QApplication>
#include <QString>

class QLocalServer;

// The updater's application object, one instance per user at a time: its key is the
// executable's file name. If a local server of that name answers within 500 ms another
// instance runs; otherwise this instance listens under the name (removing a stale server left
// by an instance that ended abnormally).
class SingleApplication : public QApplication
{
    Q_OBJECT
  public:
    SingleApplication(int &argc, char **argv);
    ~SingleApplication() override;

    bool isRunning() const { return m_running; }
    QString key() const { return m_key; }

  signals:
    // A second start knocked: the running instance may show itself.
    void sActivated();

  public slots:
    // Accepts a connection from a second start, gives it up to 1000 ms to send and closes it.
    void newLocalConnection();

  private:
    QString m_key;
    bool m_running = false;
    QLocalServer *m_server = nullptr;
};

#pragma once

#include <QTimer>

class NetClientCmd;

// Keep-alive of one command channel. Disabled until the printer's "linked" asks for it
// ("enablecheckalive"); then every printer "isalive" restarts it, and after more than `limit`
// timeouts without one the connection is dropped (about 108 s with the 9000 ms interval).
class CheckConnectTimer : public QTimer
{
    Q_OBJECT
  public:
    CheckConnectTimer(int limit, NetClientCmd *parent, int intervalMs = 9000);

    // If enabled: (re)starts the timer with the count back at 0.
    void restart();
    // Reacts to "linked ..." (may enable) and "isalive" (restarts; always answers "isAlive").
    void handle(const QString &message);

    bool isCheckEnabled() const { return m_enabled; }
    int timeoutCount() const { return m_count; }
    int limit() const { return m_limit; }

  public slots:
    void onTimeOut();

  private:
    NetClientCmd *m_client;
    bool m_enabled = false;
    int m_count = 0;
    int m_limit;
    int m_intervalMs;
};

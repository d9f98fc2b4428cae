#include "updater/SingleApplication.h"

#include <QDebug>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

SingleApplication::SingleApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    m_key = QFileInfo(QApplication::applicationFilePath()).fileName();
    {
        QLocalSocket probe;
        probe.connectToServer(m_key);
        if (probe.waitForConnected(500)) {
            m_running = true;
            probe.disconnectFromServer();
            return;
        }
    }
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, &SingleApplication::newLocalConnection);
    if (!m_server->listen(m_key)) {
        if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
            QLocalServer::removeServer(m_key);
            if (!m_server->listen(m_key))
                qWarning().noquote() << "single instance: cannot listen as" << m_key << ":"
                                     << m_server->errorString();
        }
    }
}

SingleApplication::~SingleApplication()
{
    if (m_server)
        m_server->close();
}

void SingleApplication::newLocalConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        socket->waitForReadyRead(1000);
        socket->close();
        socket->deleteLater();
        emit sActivated();
    }
}

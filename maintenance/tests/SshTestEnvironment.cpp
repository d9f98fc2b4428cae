#include "maintenance/tests/SshTestEnvironment.h"

std::unique_ptr<testsupport::SshTestServer> SshServerTest::s_server;
QString SshServerTest::s_startError;

void SshServerTest::SetUpTestSuite()
{
    if (s_server)
        return;
    s_server = std::make_unique<testsupport::SshTestServer>();
    if (!s_server->start(&s_startError))
        s_server.reset();
}

void SshServerTest::TearDownTestSuite()
{
    s_server.reset();
}

void SshServerTest::SetUp()
{
    const QString missing = testsupport::SshTestServer::unavailableReason();
    if (!missing.isEmpty())
        GTEST_SKIP() << "no test SSH server: " << missing.toStdString();
    ASSERT_TRUE(s_server) << "the test SSH server did not start: " << s_startError.toStdString();
    ASSERT_TRUE(m_scratch.isValid());
}

QSsh::SshConnectionParameters SshServerTest::parameters() const
{
    QSsh::SshConnectionParameters p;
    p.host = QStringLiteral("127.0.0.1");
    p.port = s_server->port();
    p.userName = s_server->userName();
    p.password = s_server->password();
    p.timeout = 20;
    p.hostKeyDatabase = m_scratch.filePath(QStringLiteral("hostkeys"));
    return p;
}

#pragma once

#include "maintenance/SshConnectionParameters.h"
#include "testsupport/sshserver/SshTestServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// One sandboxed sshd shared by the tests of a suite (starting one costs a key generation).
class SshServerTest : public ::testing::Test
{
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Parameters for the shared server, with a host key file of this test's own.
    QSsh::SshConnectionParameters parameters() const;
    static testsupport::SshTestServer &server() { return *s_server; }

    static std::unique_ptr<testsupport::SshTestServer> s_server;
    static QString s_startError;
    QTemporaryDir m_scratch;
};

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Printer discovery from any test stays on the loopback network, on a free local port.
    if (qEnvironmentVariableIsEmpty("RESINOR_DISCOVERY_TARGET"))
        qputenv("RESINOR_DISCOVERY_TARGET", "127.255.255.255");
    if (qEnvironmentVariableIsEmpty("RESINOR_DISCOVERY_PORT"))
        qputenv("RESINOR_DISCOVERY_PORT", "0");
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

// The connectivity probe.
#include "CNetConn.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace core;

TEST(CNetConn, NotConnectedWithOnlyLoopbackAndTheFlagsNameTheirDevice)
{
    if (qEnvironmentVariableIsSet("CORVANE_IN_NETNS")) { // this binary, run again below
        EXPECT_FALSE(CNetConn().IsConnected());
        EXPECT_EQ(CNetConn().ConnType(), 0);
        EXPECT_EQ(CNetConn().ConnName(), "");
        return;
    }
    const std::pair<int, QString> flags[] = {{2, "LAN"},   {3, "LAN"},    {1, "Modem"},
                                             {4, "Proxy"}, {36, "Proxy"}, {32, "Offline"},
                                             {64, ""},     {0, ""}};
    for (const auto& [flag, device] : flags)
        EXPECT_EQ(CNetConn::ConnTypeDevice(flag), device) << flag;

    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty())
        GTEST_SKIP() << "unshare is not installed";
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVANE_IN_NETNS", "1");
    probe.setProcessEnvironment(env);
    // -n: a fresh network namespace, which holds nothing but a loopback interface.
    probe.start(unshare,
                {"-n", QCoreApplication::applicationFilePath(), "--gtest_filter=CNetConn.*"});
    ASSERT_TRUE(probe.waitForFinished(15'000));
    const QByteArray output = probe.readAllStandardOutput();
    if (!output.contains("[ RUN"))
        GTEST_SKIP() << "no new network namespace here: "
                     << probe.readAllStandardError().toStdString();
    EXPECT_EQ(probe.exitCode(), 0) << output.toStdString();
}

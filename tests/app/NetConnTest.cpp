#include "CNetConn.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(CNetConn, ConnTypeDeviceNamesTheFirstFlagInItsOrder)
{
    EXPECT_EQ(CNetConn::ConnTypeDevice(2), "LAN");
    EXPECT_EQ(CNetConn::ConnTypeDevice(3), "LAN"); // modem and LAN
    EXPECT_EQ(CNetConn::ConnTypeDevice(1), "Modem");
    EXPECT_EQ(CNetConn::ConnTypeDevice(4), "Proxy");
    EXPECT_EQ(CNetConn::ConnTypeDevice(36), "Proxy"); // proxy and offline
    EXPECT_EQ(CNetConn::ConnTypeDevice(32), "Offline");
    EXPECT_EQ(CNetConn::ConnTypeDevice(64), "");
    EXPECT_EQ(CNetConn::ConnTypeDevice(0), "");
}

TEST(CNetConn, NotConnectedInANamespaceWithOnlyLoopback)
{
    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty())
        GTEST_SKIP() << "unshare is not installed";
    QProcess probe;
    // -n: a fresh network namespace, which holds nothing but a loopback interface.
    probe.start(unshare, {"-n", QStringLiteral(NETCONN_PROBE)});
    ASSERT_TRUE(probe.waitForFinished(15'000));
    const QString output = QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
    if (probe.exitCode() != 0 && output.isEmpty())
        GTEST_SKIP() << "no new network namespace here: "
                     << probe.readAllStandardError().trimmed().toStdString();
    EXPECT_EQ(output, "0 0 []");
    CNetConn().HangUp(); // no dial-up connections on Linux: returns without effect
}

// InetTransfer against a real HTTP server on 127.0.0.1 that misbehaves on request.
#include "InetTransfer.h"
#include "TestHttpServer.h"

#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

using Mode = TestHttpServer::Mode;

namespace {

struct Recorder
{
    QList<int> states;
    explicit Recorder(InetTransfer& inet)
    {
        QObject::connect(&inet, &InetTransfer::StateChanged, &inet,
                         [this](int state) { states.append(state); });
    }
};

class InetTransferTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(server.Listen()); }
    QString Url(const char* path) const { return server.BaseUrl() + QLatin1String(path); }

    TestHttpServer server;
    InetTransfer inet;
};

const QList<int> kSuccess = {1, 2, 3, 4, 7, 8, 12};

} // namespace

TEST_F(InetTransferTest, ReturnsTheBodyByteForByteWithStatesInOrder)
{
    const QByteArray body("ok\r\n[Radio]\r\nOne=http://127.0.0.1:8000/\r\n\0\xff tail", 45);
    server.SetRoute("/Settings/Channel.ini", {200, body});
    Recorder rec(inet);
    bool busyAt8 = false;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    QObject::connect(&inet, &InetTransfer::StateChanged, [&](int s) {
        if (s == 8)
            busyAt8 = inet.StillExecuting();
    });

    EXPECT_EQ(inet.OpenURL(Url("/Settings/Channel.ini")), body);
    EXPECT_EQ(rec.states, kSuccess);
    EXPECT_TRUE(busyAt8);
    EXPECT_FALSE(inet.StillExecuting());
    EXPECT_EQ(inet.ResponseCode(), 200);
    EXPECT_TRUE(inet.ResponseInfo().startsWith("200"));
    EXPECT_GT(ticks, 0) << "timers must keep running during the fetch";
    EXPECT_TRUE(QSslSocket::supportsSsl()) << "https addresses need a TLS backend";

    // A body without Content-Length ends with the connection, and an empty body is a body.
    server.SetRoute("/nolength", {200, "ok no length", Mode::NoLength});
    EXPECT_EQ(inet.OpenURL(Url("/nolength")), "ok no length");
    server.SetRoute("/empty", {200, ""});
    rec.states.clear();
    EXPECT_EQ(inet.OpenURL(Url("/empty")), QByteArray());
    EXPECT_EQ(rec.states, kSuccess);
}

TEST_F(InetTransferTest, ErrorPagesAreResponsesAndRedirectsAreFollowed)
{
    Recorder rec(inet);
    EXPECT_EQ(inet.OpenURL(Url("/missing")), "<html>Not Found</html>");
    EXPECT_EQ(rec.states, kSuccess);
    EXPECT_EQ(inet.ResponseCode(), 404);

    server.SetRoute("/broken", {500, "Internal trouble"});
    EXPECT_EQ(inet.OpenURL(Url("/broken")), "Internal trouble");
    EXPECT_EQ(inet.ResponseCode(), 500);

    server.SetRoute("/old", {302, "", Mode::Normal, "/new"});
    server.SetRoute("/new", {200, "ok moved"});
    rec.states.clear();
    EXPECT_EQ(inet.OpenURL(Url("/old")), "ok moved");
    EXPECT_EQ(rec.states, kSuccess);
    EXPECT_EQ(server.requestPaths.mid(server.requestPaths.size() - 2),
              (QList<QByteArray>{"/old", "/new"}));

    // An address with a doubled slash is fetched; Qt's HTTP stack sends the path normalised.
    server.SetRoute("/Settings/RSettings.ini", {200, "ok double"});
    EXPECT_EQ(inet.OpenURL(server.BaseUrl() + "//Settings/RSettings.ini"), "ok double");
    EXPECT_EQ(server.requestPaths.last(), "/Settings/RSettings.ini");
}

TEST_F(InetTransferTest, FailuresRaiseStateElevenAndReturnNothing)
{
    Recorder rec(inet);
    for (const QString& address :
         {QString(), QStringLiteral("/Settings/Channel.ini"), QStringLiteral("ftp://127.0.0.1/x"),
          QStringLiteral("file:///etc/passwd"), QStringLiteral("http://")}) {
        rec.states.clear();
        EXPECT_TRUE(inet.OpenURL(address).isEmpty()) << address.toStdString();
        EXPECT_EQ(rec.states, QList<int>{11}) << address.toStdString();
        EXPECT_EQ(inet.ResponseInfo(), "Invalid address");
        EXPECT_FALSE(inet.StillExecuting());
    }

    // A body cut short by the server is not a response, however much arrived.
    server.SetRoute("/short", {200, "ok but cut", Mode::ShortBody});
    rec.states.clear();
    EXPECT_TRUE(inet.OpenURL(Url("/short")).isEmpty());
    ASSERT_FALSE(rec.states.isEmpty());
    EXPECT_EQ(rec.states.last(), 11);
    EXPECT_FALSE(rec.states.contains(8));

    // Nobody listening.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = probe.serverPort();
    probe.close();
    rec.states.clear();
    EXPECT_TRUE(inet.OpenURL(QStringLiteral("http://127.0.0.1:%1/x").arg(deadPort)).isEmpty());
    EXPECT_EQ(rec.states.last(), 11);
    EXPECT_FALSE(inet.ResponseInfo().isEmpty());
}

TEST_F(InetTransferTest, StalledOrEndlessServersHitTheTimeouts)
{
    Recorder rec(inet);
    inet.SetTimeouts(300, 20'000);
    server.SetRoute("/stall", {200, "ok", Mode::Stall});
    EXPECT_TRUE(inet.OpenURL(Url("/stall")).isEmpty());
    EXPECT_EQ(rec.states.last(), 11);
    EXPECT_TRUE(inet.ResponseInfo().startsWith("Timed out: no answer"))
        << inet.ResponseInfo().toStdString();

    server.SetRoute("/halfbody", {200, QByteArray(1000, 'o'), Mode::StallInBody});
    EXPECT_TRUE(inet.OpenURL(Url("/halfbody")).isEmpty());
    EXPECT_TRUE(inet.ResponseInfo().startsWith("Timed out: no answer"));

    // Data keeps coming, but the whole request has a limit too.
    inet.SetTimeouts(5'000, 300);
    server.SetRoute("/trickle", {200, QByteArray(10'000, 'o'), Mode::Trickle});
    rec.states.clear();
    EXPECT_TRUE(inet.OpenURL(Url("/trickle")).isEmpty());
    EXPECT_EQ(rec.states.last(), 11);
    EXPECT_TRUE(inet.ResponseInfo().startsWith("Timed out after"))
        << inet.ResponseInfo().toStdString();
}

TEST_F(InetTransferTest, OversizedBodiesAreRefused)
{
    Recorder rec(inet);
    EXPECT_EQ(InetTransfer::DefaultMaxBodyBytes, 4 * 1024 * 1024);
    const QByteArray big(InetTransfer::DefaultMaxBodyBytes + 1, 'o');
    server.SetRoute("/big", {200, big});
    EXPECT_TRUE(inet.OpenURL(Url("/big")).isEmpty());
    EXPECT_EQ(rec.states.last(), 11);
    EXPECT_TRUE(inet.ResponseInfo().startsWith("Response larger than"));

    // Without a Content-Length the bound is enforced while reading.
    inet.SetMaxBodyBytes(1000);
    server.SetRoute("/big-unannounced", {200, QByteArray(5000, 'o'), Mode::NoLength});
    rec.states.clear();
    EXPECT_TRUE(inet.OpenURL(Url("/big-unannounced")).isEmpty());
    EXPECT_EQ(rec.states.last(), 11);
    server.SetRoute("/fits", {200, QByteArray(1000, 'o'), Mode::NoLength});
    EXPECT_EQ(inet.OpenURL(Url("/fits")).size(), 1000);
}

TEST_F(InetTransferTest, ASecondFetchRunsWhollyInsideTheFirstsStateEight)
{
    server.SetRoute("/a", {200, "ok A"});
    server.SetRoute("/b", {200, "ok B"});
    InetTransfer second;
    QStringList events;
    QByteArray secondBody;
    QByteArray sameComponent = "untouched";
    QObject::connect(&inet, &InetTransfer::StateChanged, [&](int s) {
        events << QStringLiteral("A%1").arg(s);
        if (s == 8) {
            sameComponent = inet.OpenURL(Url("/b")); // busy: refused at once
            secondBody = second.OpenURL(Url("/b"));
            events << "B returned";
        }
    });
    QObject::connect(&second, &InetTransfer::StateChanged,
                     [&](int s) { events << QStringLiteral("B%1").arg(s); });

    const QByteArray firstBody = inet.OpenURL(Url("/a"));
    events << "A returned";
    EXPECT_EQ(firstBody, "ok A");
    EXPECT_EQ(secondBody, "ok B");
    EXPECT_TRUE(sameComponent.isEmpty());
    EXPECT_EQ(events, QStringList({"A1", "A2", "A3", "A4", "A7", "A8", "B1", "B2", "B3", "B4", "B7",
                                   "B8", "B12", "B returned", "A12", "A returned"}));
}

TEST(InetTransferLifetime, DestroyedByItsOwnNotificationWithoutHarm)
{
    TestHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute("/slow", {200, QByteArray(2000, 'o'), Mode::Trickle});
    auto* inet = new InetTransfer;
    int after = 0;
    QObject::connect(inet, &InetTransfer::StateChanged, [&](int s) {
        if (s == 7)
            delete inet;
        else
            ++after;
    });
    EXPECT_TRUE(inet->OpenURL(server.BaseUrl() + "/slow").isEmpty());
    EXPECT_EQ(after, 4) << "states 1-4 before, nothing after the deletion";
}

// InetTransfer against a real HTTP server on 127.0.0.1 that misbehaves on request.
#include "InetTransfer.h"
#include "TestHttpServer.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QSslSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

using Mode = TestHttpServer::Mode;
using Outcome = InetTransfer::Outcome;

TEST(InetTransfer, AnswersFailuresTimeoutsAndOversizedBodiesFromTheEventLoop)
{
    TestHttpServer server;
    ASSERT_TRUE(server.Listen());
    const QByteArray body("ok\r\n[Radio]\r\nOne=http://127.0.0.1:8000/\r\n\0\xff tail", 45);
    const QByteArray big(InetTransfer::DefaultMaxBodyBytes + 1, 'o');
    server.SetRoute("/old", {302, "", Mode::Normal, "/new"});
    server.SetRoute("/new", {200, body});
    server.SetRoute("/fits", {200, big.left(big.size() - 1), Mode::NoLength});
    server.SetRoute("/short", {200, "ok but cut", Mode::ShortBody});
    server.SetRoute("/big", {200, big});
    server.SetRoute("/unannounced", {200, big, Mode::NoLength});    // the bound holds while reading
    server.SetRoute("/understated", {200, big, Mode::Understated}); // what it said, no more
    server.SetRoute("/stall", {200, "ok", Mode::Stall});
    server.SetRoute("/endless", {200, QByteArray(10'000, 'o'), Mode::Trickle}); // keeps coming
    const QString base = server.BaseUrl();
    // Address, body expected back, start of the reason a failure gives in ResponseInfo.
    const std::tuple<QString, QByteArray, const char*> cases[] = {
        {base + "/old", body, ""},                         // redirected
        {base + "/missing", "<html>Not Found</html>", ""}, // error pages are answers too
        {base + "/fits", big.left(big.size() - 1), ""},
        {"", "", "Invalid address"},
        {"ftp://127.0.0.1/x", "", "Invalid address"},
        {"file:///etc/passwd", "", "Invalid address"},
        {"http://127.0.0.1:1/x", "", ""}, // nobody listening
        {base + "/short", "", ""},
        {base + "/big", "", "Response larger than"},
        {base + "/unannounced", "", "Response larger than"},
        {base + "/understated", big.left(16), ""},
        {base + "/stall", "", "Timed out: no answer"},
        {base + "/endless", "", "Timed out after"},
    };
    InetTransfer inet;
    QList<int> states;
    QList<QByteArray> delivered;
    QObject::connect(&inet, &InetTransfer::Finished, [&](const QByteArray& b) { delivered << b; });
    inet.SetTimeouts(1'000, 2'000);
    bool secondRefused = true; // still executing until Finished: a second call is refused
    QObject::connect(&inet, &InetTransfer::StateChanged, [&](int s) {
        states << s;
        if (s == 8 || s == 11 || s == 12)
            secondRefused = secondRefused && !inet.OpenURL(base + "/new");
    });
    for (const auto& [address, expected, info] : cases) {
        SCOPED_TRACE(address.toStdString());
        states.clear();
        delivered.clear();
        ASSERT_TRUE(inet.OpenURL(address));
        EXPECT_TRUE(states.isEmpty()) << "nothing runs inside the caller's OpenURL";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !delivered.isEmpty(); }, 15'000));
        EXPECT_EQ(delivered, QList<QByteArray>{expected});
        if (expected.isEmpty()) { // a failure: state 11 instead of 8 and 12
            EXPECT_EQ(states.last(), 11);
            EXPECT_FALSE(states.contains(8));
            EXPECT_EQ(inet.LastOutcome(), Outcome::Failed);
        } else {
            EXPECT_EQ(states, QList<int>({1, 2, 3, 4, 7, 8, 12}));
            EXPECT_EQ(inet.LastOutcome(), Outcome::Answered);
        }
        EXPECT_FALSE(inet.StillExecuting());
        EXPECT_TRUE(inet.ResponseInfo().startsWith(info)) << inet.ResponseInfo().toStdString();
    }
    EXPECT_TRUE(secondRefused);
    EXPECT_EQ(server.Requests(), 10) << "one request per usable address, none from the refusals";
    EXPECT_EQ(qApp->findChildren<QNetworkAccessManager*>().size(), 1) << "one for every transfer";
    EXPECT_TRUE(QSslSocket::supportsSsl()) << "https addresses need a TLS backend";
}

TEST(InetTransfer, ACancelledOrDestroyedFetchEndsAtTheServerAndDeliversNothing)
{
    TestHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute("/slow", {200, "ok " + QByteArray(10'000, 'o'), Mode::Trickle}); // ~50 s
    server.SetRoute("/list", {200, "ok list"});
    // Cancelled while the body trickles in or once it is whole; its owner gone, from a handler
    // of its own notification or from outside: the request is dropped, nothing raised after.
    enum End { Cancel, OwnerGoes, OwnerGoesLater };
    const std::pair<End, int> ways[] = {
        {Cancel, 7}, {Cancel, 8}, {OwnerGoes, 7}, {OwnerGoesLater, 7}};
    for (const auto& [how, at] : ways) {
        SCOPED_TRACE(std::to_string(how) + " at " + std::to_string(at));
        QPointer<QObject> owner = new QObject;
        QPointer<InetTransfer> inet = new InetTransfer(owner);
        QList<int> states;
        int delivered = 0;
        QObject::connect(inet, &InetTransfer::StateChanged, [&](int s) {
            states << s;
            if (s == at && how == Cancel)
                inet->Cancel();
            else if (s == at && how == OwnerGoes)
                delete owner;
        });
        QObject::connect(inet, &InetTransfer::Finished, [&] { ++delivered; });
        const int closed = server.Closed();
        ASSERT_TRUE(inet->OpenURL(server.BaseUrl() + (at == 7 ? "/slow" : "/list")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return states.contains(at); }, 15'000));
        if (how == OwnerGoesLater)
            delete owner;
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.Closed() > closed; }, 15'000));
        QCoreApplication::processEvents();
        EXPECT_EQ(states.last(), at);
        EXPECT_EQ(delivered, 0);
        if (how == Cancel) {
            EXPECT_EQ(inet->LastOutcome(), Outcome::Cancelled);
            EXPECT_FALSE(inet->StillExecuting());
        }
        delete owner;
    }
    InetTransfer after; // the shared manager serves on
    QByteArray body;
    QObject::connect(&after, &InetTransfer::Finished, [&](const QByteArray& b) { body = b; });
    after.OpenURL(server.BaseUrl() + "/list");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !body.isEmpty(); }, 15'000));
    EXPECT_EQ(body, "ok list");
}

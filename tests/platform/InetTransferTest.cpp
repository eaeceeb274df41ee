// InetTransfer against a real HTTP server on 127.0.0.1 that misbehaves on request.
#include "InetTransfer.h"
#include "TestHttpServer.h"

#include <QNetworkAccessManager>
#include <QSslSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

using Mode = TestHttpServer::Mode;
using Outcome = InetTransfer::Outcome;

namespace {

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 15'000);
}

// A transfer with what it raised and delivered.
struct Watched
{
    InetTransfer inet;
    QList<int> states;
    QList<QByteArray> delivered;
    Watched()
    {
        QObject::connect(&inet, &InetTransfer::StateChanged, [this](int s) { states << s; });
        QObject::connect(&inet, &InetTransfer::Finished,
                         [this](const QByteArray& body) { delivered << body; });
    }
};

} // namespace

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
    Watched run;
    InetTransfer& inet = run.inet;
    inet.SetTimeouts(1'000, 2'000);
    EXPECT_EQ(inet.MaxBodyBytes(), 16 * 1024 * 1024) << "the operator's files' bound";
    bool secondRefused = true; // still executing until Finished: a second call is refused
    QObject::connect(&inet, &InetTransfer::StateChanged, [&](int s) {
        if (s == 8 || s == 11 || s == 12)
            secondRefused = secondRefused && !inet.OpenURL(base + "/new");
    });
    for (const auto& [address, expected, info] : cases) {
        SCOPED_TRACE(address.toStdString());
        run.states.clear();
        run.delivered.clear();
        ASSERT_TRUE(inet.OpenURL(address));
        EXPECT_TRUE(run.states.isEmpty()) << "nothing runs inside the caller's OpenURL";
        ASSERT_TRUE(WaitFor([&] { return !run.delivered.isEmpty(); }));
        EXPECT_EQ(run.delivered, QList<QByteArray>{expected});
        if (expected.isEmpty()) { // a failure: state 11 instead of 8 and 12
            EXPECT_EQ(run.states.value(run.states.size() - 1), 11);
            EXPECT_FALSE(run.states.contains(8));
            EXPECT_EQ(inet.LastOutcome(), Outcome::Failed);
        } else {
            EXPECT_EQ(run.states, QList<int>({1, 2, 3, 4, 7, 8, 12}));
            EXPECT_EQ(inet.LastOutcome(), Outcome::Answered);
        }
        EXPECT_FALSE(inet.StillExecuting());
        EXPECT_TRUE(inet.ResponseInfo().startsWith(info)) << inet.ResponseInfo().toStdString();
    }
    EXPECT_TRUE(secondRefused);
    EXPECT_EQ(server.Requests(), 10) << "one request per usable address, none from the refusals";
    // Every transfer shares the application's one manager.
    InetTransfer other;
    other.OpenURL(base + "/new");
    EXPECT_TRUE(WaitFor([&] { return !other.StillExecuting(); }));
    EXPECT_EQ(qApp->findChildren<QNetworkAccessManager*>().size(), 1);
    EXPECT_TRUE(QSslSocket::supportsSsl()) << "https addresses need a TLS backend";
}

TEST(InetTransfer, ACancelledOrDestroyedFetchEndsAtTheServerAndDeliversNothing)
{
    TestHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute("/slow", {200, "ok " + QByteArray(10'000, 'o'), Mode::Trickle}); // ~50 s
    server.SetRoute("/list", {200, "ok list"});
    const QString base = server.BaseUrl();

    // Cancelled while the body trickles in, or once it is whole: nothing raised after, no body.
    for (const int at : {7, 8}) {
        SCOPED_TRACE(at);
        Watched run;
        QObject::connect(&run.inet, &InetTransfer::StateChanged, [&](int s) {
            if (s == at)
                run.inet.Cancel();
        });
        const int closed = server.Closed();
        ASSERT_TRUE(run.inet.OpenURL(base + (at == 7 ? "/slow" : "/list")));
        ASSERT_TRUE(WaitFor([&] { return run.states.contains(at) && server.Closed() > closed; }));
        EXPECT_EQ(run.states.last(), at);
        EXPECT_TRUE(run.delivered.isEmpty());
        EXPECT_EQ(run.inet.LastOutcome(), Outcome::Cancelled);
        EXPECT_FALSE(run.inet.StillExecuting());
    }

    // The owner goes mid-fetch, from outside or from a handler of its transfer's own
    // notification: the server sees the request dropped, and nothing reaches the dead owner.
    for (const bool fromHandler : {false, true}) {
        SCOPED_TRACE(fromHandler);
        auto* owner = new QObject;
        auto* inet = new InetTransfer(owner);
        QList<int> states;
        int delivered = 0;
        QObject::connect(inet, &InetTransfer::StateChanged, [&](int s) {
            states << s;
            if (fromHandler && s == 7)
                delete owner;
        });
        QObject::connect(inet, &InetTransfer::Finished, [&] { ++delivered; });
        const int closed = server.Closed();
        ASSERT_TRUE(inet->OpenURL(base + "/slow"));
        ASSERT_TRUE(WaitFor([&] { return states.contains(7); }));
        if (!fromHandler)
            delete owner;
        ASSERT_TRUE(WaitFor([&] { return server.Closed() > closed; }));
        EXPECT_EQ(states, QList<int>({1, 2, 3, 4, 7}));
        EXPECT_EQ(delivered, 0);
    }

    Watched after; // the shared manager serves on
    ASSERT_TRUE(after.inet.OpenURL(base + "/list"));
    ASSERT_TRUE(WaitFor([&] { return !after.delivered.isEmpty(); }));
    EXPECT_EQ(after.delivered, QList<QByteArray>{"ok list"});
}

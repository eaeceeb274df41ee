// InetTransfer against a real HTTP server on 127.0.0.1 that misbehaves on request.
#include "InetTransfer.h"
#include "TestHttpServer.h"

#include <QSslSocket>
#include <gtest/gtest.h>

using namespace platform;

using Mode = TestHttpServer::Mode;

TEST(InetTransfer, AnswersFailuresTimeoutsOversizedBodiesAndItsOwnDeletion)
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
    inet.SetTimeouts(1'000, 2'000);
    EXPECT_EQ(inet.MaxBodyBytes(), 16 * 1024 * 1024) << "the operator's files' bound";
    QList<int> states;
    bool reentryRefused = true; // still executing until state 12: a second call returns nothing
    QObject::connect(&inet, &InetTransfer::StateChanged, [&](int s) {
        states << s;
        if (s == 8)
            reentryRefused = reentryRefused && inet.OpenURL(base + "/new").isEmpty();
    });
    for (const auto& [address, expected, info] : cases) {
        SCOPED_TRACE(address.toStdString());
        states.clear();
        EXPECT_EQ(inet.OpenURL(address), expected);
        if (expected.isEmpty()) { // a failure: state 11 instead of 8 and 12
            EXPECT_EQ(states.value(states.size() - 1), 11);
            EXPECT_FALSE(states.contains(8));
            EXPECT_EQ(inet.LastOutcome(), InetTransfer::Outcome::Failed);
        } else {
            EXPECT_EQ(states, QList<int>({1, 2, 3, 4, 7, 8, 12}));
            EXPECT_EQ(inet.LastOutcome(), InetTransfer::Outcome::Answered);
        }
        EXPECT_TRUE(inet.ResponseInfo().startsWith(info)) << inet.ResponseInfo().toStdString();
    }
    EXPECT_TRUE(reentryRefused);
    EXPECT_TRUE(QSslSocket::supportsSsl()) << "https addresses need a TLS backend";

    // Destroyed by a handler of its own notification: the fetch ends, nothing touches it after.
    auto* doomed = new InetTransfer;
    int after = 0;
    QObject::connect(doomed, &InetTransfer::StateChanged, [&](int s) {
        if (s == 7)
            delete doomed;
        else
            ++after;
    });
    EXPECT_TRUE(doomed->OpenURL(base + "/endless").isEmpty());
    EXPECT_EQ(after, 4) << "states 1-4 before, nothing after the deletion";
}

TEST(InetTransfer, CancelEndsARunningFetchAndOneWhoseBodyAlreadyArrived)
{
    TestHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute("/slow", {200, "ok " + QByteArray(2'000, 'o'), Mode::Trickle});
    server.SetRoute("/stall", {200, "ok", Mode::Stall});
    server.SetRoute("/list", {200, "ok list"});
    const QString base = server.BaseUrl();
    using Outcome = InetTransfer::Outcome;

    // Cancelled while the body trickles in: nothing returned, nothing raised after.
    InetTransfer inet;
    QList<int> states;
    auto record = QObject::connect(&inet, &InetTransfer::StateChanged, [&](int s) {
        states << s;
        if (s == 7)
            inet.Cancel();
    });
    EXPECT_TRUE(inet.OpenURL(base + "/slow").isEmpty());
    EXPECT_EQ(inet.LastOutcome(), Outcome::Cancelled);
    EXPECT_EQ(states, QList<int>({1, 2, 3, 4, 7}));
    EXPECT_FALSE(inet.StillExecuting());
    QObject::disconnect(record);
    EXPECT_EQ(inet.OpenURL(base + "/list"), "ok list") << "a cancel ends one request only";
    EXPECT_EQ(inet.LastOutcome(), Outcome::Answered);

    // The splash's shape: the list's body has arrived, and its state 8 runs a second fetch on a
    // server that never answers; both are cancelled from inside that nested fetch.
    InetTransfer list, settings;
    QList<int> listStates, settingsStates;
    QByteArray nested = "not run";
    QObject::connect(&list, &InetTransfer::StateChanged, [&](int s) {
        listStates << s;
        if (s == 8)
            nested = settings.OpenURL(base + "/stall");
    });
    QObject::connect(&settings, &InetTransfer::StateChanged, [&](int s) {
        settingsStates << s;
        if (s == 4) {
            list.Cancel();
            settings.Cancel();
        }
    });
    EXPECT_TRUE(list.OpenURL(base + "/list").isEmpty()) << "its body had arrived, yet it is void";
    EXPECT_TRUE(nested.isEmpty());
    EXPECT_EQ(list.LastOutcome(), Outcome::Cancelled);
    EXPECT_EQ(settings.LastOutcome(), Outcome::Cancelled);
    EXPECT_EQ(listStates, QList<int>({1, 2, 3, 4, 7, 8})) << "no 12 after the cancel";
    EXPECT_EQ(settingsStates, QList<int>({1, 2, 3, 4}));
    EXPECT_FALSE(list.StillExecuting());
}

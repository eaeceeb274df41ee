// HTTPS stations: a certificate the recorder trusts is recorded from, an untrusted one is a clear
// failure, and a redirect from https down to http is refused.
#include "IcyStream.h"
#include "StreamRecorder.h"
#include "TlsTestKit.h"

#include <gtest/gtest.h>

using namespace recorder;
using namespace icytest;

namespace {

struct Tls : ::testing::Test
{
    // Made once for the suite, while the application object exists.
    static inline std::unique_ptr<TestCertificates> made;
    QTemporaryDir dir;
    StreamRecorder rec{0};
    bool ended = false, failed = false;

    static void SetUpTestSuite()
    {
        made = std::make_unique<TestCertificates>(TestCertificates::Make());
    }
    static void TearDownTestSuite() { made.reset(); }
    void SetUp() override
    {
        if (!made->error.isEmpty())
            GTEST_SKIP() << made->error.toStdString();
        QObject::connect(&rec, &StreamRecorder::StreamEnded, [this] { ended = true; });
        QObject::connect(&rec, &StreamRecorder::StreamFailed, [this] { failed = true; });
    }
    static QString Https(const TestServer& server, const char* path)
    {
        return QStringLiteral("https://127.0.0.1:%1/%2").arg(server.Port()).arg(path);
    }
};

} // namespace

TEST_F(Tls, ATrustedStationBehindARedirectIsRecorded)
{
    TestServer moved(made->Listener()), station(made->Listener());
    rec.Connection().AddCaCertificates({made->authority});
    rec.Tune(ParseStreamAddress(Https(moved, "listen")));
    ASSERT_TRUE(moved.WaitForRequest());
    moved.Send("HTTP/1.1 308 Permanent\r\nLocation: " + Https(station, "live").toStdString() +
               "\r\n\r\n");
    ASSERT_TRUE(station.WaitForRequest());
    EXPECT_TRUE(station.request.startsWith("GET /live HTTP/1.0\r\n"));
    const auto stream = BuildStream(4096, 50, 100, [](int i) {
        return i % 10 == 0 ? "StreamTitle='" + std::to_string(i) + "';" : std::string();
    });
    ASSERT_TRUE(rec.StartRecording(dir.path(), "secure.mp3"));
    station.Send("HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\nicy-metaint:4096\r\n\r\n");
    for (std::size_t at = 0; at < stream.bytes.size(); at += 10000)
        station.Send(stream.bytes.substr(at, 10000));
    station.Close();
    ASSERT_TRUE(WaitFor([&] { return ended || failed; }));
    EXPECT_FALSE(failed) << rec.ErrorText().toStdString();
    rec.StopRecording();
    EXPECT_TRUE(Contents(dir.filePath("secure.mp3")).toStdString() == stream.audio);
}

TEST_F(Tls, AnUntrustedCertificateAndADowngradeAreRefused)
{
    TestServer station(made->Listener());
    // The test's authority is not among the system's: the certificate is not trusted.
    rec.Tune(ParseStreamAddress(Https(station, "live")));
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_TRUE(rec.ErrorText().startsWith("certificate refused: "))
        << rec.ErrorText().toStdString();
    EXPECT_FALSE(rec.HeaderDone());

    failed = false;
    TestServer secure(made->Listener()), plain;
    rec.Connection().AddCaCertificates({made->authority});
    rec.Tune(ParseStreamAddress(Https(secure, "live")));
    ASSERT_TRUE(secure.WaitForRequest());
    secure.Send("HTTP/1.1 302 Found\r\nLocation: " + plain.Url().toStdString() + "\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_EQ(rec.ErrorText(), "refused a redirect from https down to http");
    EXPECT_EQ(plain.connections, 0);
}

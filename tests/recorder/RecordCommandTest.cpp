// corvane-record as a user runs it: the real program against a stream server inside the test.
#include "IcyStream.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using icytest::TestServer;
using icytest::WaitFor;

namespace {

struct Program
{
    QProcess process;
    explicit Program(const QStringList& arguments)
    {
        process.start(CORVANE_RECORD, arguments);
        process.waitForStarted();
    }
    bool Finished()
    {
        return WaitFor([this] { return process.state() == QProcess::NotRunning; });
    }
    QString Out() { return QString::fromUtf8(process.readAllStandardOutput()); }
    QString Err() { return QString::fromUtf8(process.readAllStandardError()); }
};

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(RecordCommand, RecordsByFileAndBySongToTheEndOfTheStream)
{
    const auto stream = icytest::BuildStream(4096, 12, 77, [](int i) {
        return i % 4 == 0 ? "StreamTitle='Song " + std::to_string(i / 4) + "';" : std::string();
    });
    for (const bool bySong : {false, true}) {
        QTemporaryDir dir;
        TestServer server;
        QStringList args = {QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()), "--dir",
                            dir.path()};
        args << (bySong ? QStringList{"--by-song"} : QStringList{"--name", "show.mp3"});
        Program run(args);
        ASSERT_TRUE(server.WaitForRequest());
        server.Send(icytest::Header(4096) + stream.bytes);
        server.Close();
        ASSERT_TRUE(run.Finished());
        EXPECT_EQ(run.process.exitCode(), 0) << run.Err().toStdString();
        const QString out = run.Out();
        EXPECT_TRUE(out.contains("Station: Test FM\nBitrate: 128 Kbps\n")) << out.toStdString();
        EXPECT_TRUE(out.contains("Title: 'Song 0'\n") && out.contains("Title: 'Song 2'\n"));
        EXPECT_TRUE(out.endsWith("Disconnected\n")) << out.toStdString();

        std::string joined;
        if (bySong) {
            // The default-named file holds the audio before the first title.
            QStringList files =
                QDir(dir.path()).entryList(QDir::Files, QDir::Time | QDir::Reversed);
            ASSERT_EQ(files.size(), 4) << files.join("|").toStdString();
            std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
                return a.startsWith("File") || (!b.startsWith("File") && a < b);
            });
            EXPECT_EQ(files.mid(1), (QStringList{"'Song 0'.mp3", "'Song 1'.mp3", "'Song 2'.mp3"}));
            for (const auto& name : files)
                joined += Contents(QDir(dir.path()).filePath(name)).toStdString();
        } else {
            joined = Contents(dir.filePath("show.mp3")).toStdString();
        }
        EXPECT_TRUE(joined == stream.audio) << "by song: " << bySong;
    }
}

TEST(RecordCommand, SigtermStopsWithTheFileComplete)
{
    QTemporaryDir dir;
    TestServer server;
    Program run({QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()), "--dir", dir.path(),
                 "--name", "live"});
    ASSERT_TRUE(server.WaitForRequest());
    const auto audio = icytest::AudioBytes(100000, 4);
    server.Send(icytest::Header(0) + audio);
    server.WaitSent();
    const QString path = dir.filePath("live");
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(path).size() == qint64(audio.size()); }));
    ::kill(static_cast<pid_t>(run.process.processId()), SIGTERM);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.process.exitCode(), 0);
    EXPECT_TRUE(Contents(path).toStdString() == audio);
}

TEST(RecordCommand, BadAddressRefusedConnectionAndUnwritableFolder)
{
    QTemporaryDir dir;
    Program bad({"http://127.0.0.1:8000/stream", "--dir", dir.path()});
    ASSERT_TRUE(bad.Finished());
    EXPECT_NE(bad.process.exitCode(), 0);
    EXPECT_TRUE(bad.Err().contains("bad address"));

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const auto url = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    closed.close();
    Program refused({url, "--dir", dir.path()});
    ASSERT_TRUE(refused.Finished());
    EXPECT_NE(refused.process.exitCode(), 0);
    EXPECT_TRUE(refused.Err().contains("refused")) << refused.Err().toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty()); // nothing recorded, no empty file left

    Program unwritable({url, "--dir", dir.filePath("missing")});
    ASSERT_TRUE(unwritable.Finished());
    EXPECT_NE(unwritable.process.exitCode(), 0);
    EXPECT_TRUE(unwritable.Err().contains("cannot write to folder"));
}

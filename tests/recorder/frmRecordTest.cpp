// The recorder window on its own: real settings files through Quillet in a temporary program
// folder, a stream server inside the test, the user's answers given through FakeQuestions.
#include "frmRecord.h"
#include "Config.h"
#include "FakeQuestions.h"
#include "IcyStream.h"
#include "Id3Tag.h"
#include "ProgramFolder.h"
#include "RecorderTestKit.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <quillet/OrvaINIManager.h>

#include <csignal>
#include <sys/resource.h>

using namespace controls;
using namespace core;

using namespace recorder;
using namespace icytest;

namespace {

struct Selection : core::ChannelSelection
{
    QString SelectedType() const override { return "Radio"; }
    QString SelectedChannel() const override { return "Demo"; }
    QString SelectedAddress() const override
    {
        return core::Config::Read({core::Config::ChannelFile, "Radio", "Demo"});
    }
};

// A program folder with the channel "Demo" pointing at the test's stream server, and the
// [Record] settings given; a recorder window opened on it.
struct Window : ::testing::Test
{
    QTemporaryDir program, records; // the program's own folder, and where recordings go
    TestServer server;
    quillet::OrvaINIManager ini;
    Selection selection;
    AnsweredQuestions user;
    QPointer<frmRecord> form;

    void Settings(const std::string& key, const QString& value)
    {
        ini.setINIFile(program.filePath("Settings.ini").toStdString());
        ASSERT_TRUE(ini.WriteValue("Record", key, value.toStdString()));
    }
    void Open(quint16 relayPort = 0)
    {
        ini.setINIFile(program.filePath("Channel.ini").toStdString());
        ASSERT_TRUE(ini.WriteValue("Radio", "Demo", server.Url().toStdString()));
        OverrideProgramFolder(program.path());
        form = new frmRecord(selection, nullptr, relayPort);
        form->show();
        ASSERT_TRUE(server.WaitForRequest());
    }
    void TearDown() override
    {
        delete form;
        OverrideProgramFolder({});
    }
    template <typename T = QLabel> T* Child(const char* name) { return form->findChild<T*>(name); }
    QString Text(const char* name) { return Child(name)->text(); }
    QPushButton* Record() { return Child<QPushButton>("CmdRecord"); }
    // Back to idle on its own, with the reason readable where the file name was.
    void ExpectStoppedWith(const QString& reason)
    {
        EXPECT_FALSE(Record()->isChecked());
        EXPECT_EQ(Record()->text(), "RECORD");
        EXPECT_TRUE(Child("lblStatus")->isHidden());
        EXPECT_TRUE(Text("lblFile").contains(reason)) << Text("lblFile").toStdString();
        EXPECT_TRUE(Child("lblFile")->isEnabled());
    }
};

} // namespace

// Every first run: no folder chosen yet. Recordings go to the user's music folder, which the
// window shows, never to the root folder. A chosen folder that cannot be written to is reported;
// closing the window while recording closes the file.
TEST_F(Window, RecordsToTheMusicFolderThenTheChosenOneAndClosingClosesTheFile)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8()); // no user-dirs.dirs there
    Open();
    EXPECT_EQ(Text("lblWinampStatus"),
              QString("Waiting for Winamp player open url '127.0.0.1:%1'...")
                  .arg(form->Core().Relay().Port()));
    const QString music = home.filePath("Music");
    EXPECT_EQ(Child<QLineEdit>("txtOutPath")->text(), music);
    user->Answers = {QStringLiteral("first.mp3")};
    Record()->click();
    EXPECT_EQ(Record()->text(), "STOP");
    server.Send(Header(0) + "AUDIO");
    ASSERT_TRUE(WaitFor([&] { return form->Core().File().BytesWritten() == 5; }));
    Record()->click();
    EXPECT_EQ(Contents(QDir(music).filePath("first.mp3")), "AUDIO");

    const auto browse = [&](const QString& folder) {
        user->Answers = {folder};
        QTest::mouseClick(Child<dcButton>("btnBrowse"), Qt::LeftButton);
        EXPECT_EQ(user->Log.back().Title, "Select a folder to save");
    };
    browse(records.filePath("missing"));
    user->Answers = {QStringLiteral("show.mp3")};
    Record()->click();
    ExpectStoppedWith("cannot create");
    browse(records.path());
    // The chooser is offered the stored folder; it starts at its nearest existing parent itself.
    EXPECT_EQ(user->Log.back().Offered, records.filePath("missing"));
    ini.setINIFile(program.filePath("Settings.ini").toStdString());
    EXPECT_EQ(ini.GetValue("Record", "FolderPath", ""), records.path().toStdString());

    user->Answers = {QStringLiteral("show.mp3")};
    Record()->click();
    const auto& asked = user->Log.back();
    EXPECT_TRUE(asked.Offered.startsWith("File") && asked.Offered.endsWith(".mp3"))
        << asked.Offered.toStdString();
    EXPECT_EQ(asked.Title + "|" + asked.Prompt, "New mp3 file|Enter file name: ");
    EXPECT_EQ(Record()->text(), "STOP");
    EXPECT_EQ(Text("lblFile"), "File: show.mp3");
    const auto audio = AudioBytes(3000, 2);
    server.Send(audio);
    ASSERT_TRUE(WaitFor([&] { return Text("lblSize") == "Size: 2 kb."; }));
    const QString path = records.filePath("show.mp3");
    ASSERT_TRUE(HeldOpen(path));
    form->close();
    ASSERT_TRUE(WaitFor([&] { return form.isNull(); }));
    EXPECT_FALSE(HeldOpen(path));
    EXPECT_TRUE(Contents(path).toStdString() == audio);
}

// A song file that cannot be created, then a file that cannot be written: each time the window
// stops recording and says why. Both fail for root too: a file where the folder was, and the
// process's file size limit.
TEST_F(Window, StopsAndSaysWhyWhenASongFileCannotBeCreatedOrAFileWritten)
{
    const QString folder = records.filePath("in"), moved = records.filePath("moved");
    ASSERT_TRUE(QDir().mkdir(folder));
    Settings("FolderPath", folder);
    Settings("FileName", "1");
    QTcpServer other; // another program holds the relay's port
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
    Open(other.serverPort());
    EXPECT_TRUE(
        Text("lblWinampStatus")
            .startsWith(
                QString("Winamp relay off: cannot open 127.0.0.1:%1 (").arg(other.serverPort())))
        << Text("lblWinampStatus").toStdString();
    EXPECT_EQ(form->Core().Relay().Port(), 0);

    const std::string titles[] = {Title("A"), Title("B")};
    const auto stream = BuildStream(1000, 12, 0, [&](int i) { return i < 2 ? titles[i] : ""; });
    auto block = [](const std::string& text) { return 1 + (text.size() + 15) / 16 * 16; };
    const std::size_t blockB = 1000 + block(titles[0]) + 1000;
    Record()->click();
    EXPECT_EQ(Record()->text(), "STOP");
    server.Send(Header(1000) + stream.bytes.substr(0, blockB));
    ASSERT_TRUE(WaitFor([&] { return Text("lblFile") == "File: 'A'.mp3"; }));
    ASSERT_TRUE(QDir().rename(folder, moved));
    QFile(folder).open(QIODevice::WriteOnly);                        // a file where the folder was
    const std::size_t afterB = blockB + block(titles[1]) + 1000 + 1; // then audio, empty block
    server.Send(stream.bytes.substr(blockB, afterB - blockB));
    ASSERT_TRUE(WaitFor([&] { return !Record()->isChecked(); }));
    ExpectStoppedWith("cannot create");
    EXPECT_FALSE(HeldOpen(QDir(moved).filePath("'A'.mp3")));
    // The song file: its tag, then the audio as received.
    const auto songA = Contents(QDir(moved).filePath("'A'.mp3")).toStdString();
    ASSERT_GT(Id3TagSize(songA), 0u);
    EXPECT_TRUE(songA.substr(Id3TagSize(songA)) == stream.audio.substr(stream.textAt[0], 1000));

    ASSERT_TRUE(QFile::remove(folder) && QDir().rename(moved, folder));
    Child<QCheckBox>("chkFilebysong")->click();
    user->Answers = {QStringLiteral("big.mp3")};
    Record()->click();
    ASSERT_EQ(Record()->text(), "STOP");
    rlimit limit{}, small{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    small = limit;
    small.rlim_cur = 4096;
    const auto oldAction = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    server.Send(stream.bytes.substr(afterB)); // 9000 bytes of audio
    const bool stopped = WaitFor([&] { return !Record()->isChecked(); });
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldAction);
    ASSERT_TRUE(stopped);
    ExpectStoppedWith("cannot write");
    const auto big = Contents(QDir(folder).filePath("big.mp3")).toStdString();
    EXPECT_LE(big.size(), 4096u);
    EXPECT_TRUE(stream.audio.compare(3000, big.size(), big) == 0);
}

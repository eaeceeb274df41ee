// The recorder window on a channel of the real demo station, recording by song while ffmpeg
// listens through the relay on 127.0.0.1:8000.
#include "PortLock.h"
#include "StationProcess.h"
#include "TestServer.h"
#include "frmRecord.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <quillet/OrvaINIManager.h>

using namespace recorder;
using icytest::WaitFor;

namespace {

struct DemoSelection : ChannelSelection
{
    QString SelectedType() const override { return "Radio"; }
    QString SelectedChannel() const override { return "Demo"; }
};

int Decode(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-v", "error", "-f", "mp3", "-i", path, "-f", "null", "-"});
    if (!ffmpeg.waitForFinished(60000))
        return -1;
    const auto errors = ffmpeg.readAllStandardError();
    if (!errors.isEmpty())
        ADD_FAILURE() << errors.toStdString();
    return ffmpeg.exitCode() == 0 && errors.isEmpty() ? 0 : 1;
}

} // namespace

TEST(RecorderOnDemoStation, RecordsBySongWhileAPlayerListensThroughTheRelay)
{
    icytest::PortLock lock;
    StationProcess station;
    ASSERT_TRUE(station.Start()) << station.output().toStdString();

    QTemporaryDir program, records;
    auto ini = std::make_shared<quillet::OrvaINIManager>();
    ini->setINIFile(QDir(program.path()).filePath("Channel.ini").toStdString());
    ini->WriteValue("Radio", "Demo", station.radioUrls().front().toStdString());
    ini->setINIFile(QDir(program.path()).filePath("Settings.ini").toStdString());
    ini->WriteValue("Record", "FolderPath", records.path().toStdString());
    ini->WriteValue("Record", "FileName", "1");

    DemoSelection selection;
    auto* form =
        new frmRecord(std::make_shared<IniRecorderSettings>(ini, program.path()), selection);
    form->show();
    auto* record = form->findChild<QPushButton*>("CmdRecord");
    ASSERT_TRUE(WaitFor([&] { return form->Core().HeaderDone(); }));
    QStringList opened;
    QObject::connect(&form->Core(), &StreamRecorder::FileOpened,
                     [&](auto name) { opened << name; });
    record->click();
    ASSERT_EQ(record->text(), "STOP");

    QProcess player;
    const QString heard = records.filePath("heard.wav");
    player.start("ffmpeg", {"-nostdin", "-v", "error", "-i", "http://127.0.0.1:8000/", "-t", "4",
                            "-y", heard});
    // Two changes of title: the first song file is complete from its first byte to its last.
    QStringList titles;
    QObject::connect(&form->Core(), &StreamRecorder::TitleText, [&](auto t) {
        if (titles.isEmpty() || titles.last() != t)
            titles << t;
    });
    ASSERT_TRUE(WaitFor([&] { return titles.size() >= 3; }, 60000));
    ASSERT_TRUE(WaitFor([&] { return player.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(player.exitCode(), 0) << player.readAllStandardError().toStdString();
    EXPECT_GT(QFileInfo(heard).size(), 100000);
    record->click();
    EXPECT_EQ(record->text(), "RECORD");

    const auto songs = QDir(records.path()).entryList({"*.mp3"}, QDir::Files);
    ASSERT_GE(songs.size(), 3) << songs.join("|").toStdString();
    // A song file starts where the server put the title, not on an MP3 frame; joined in the order
    // they were opened, the files are the station's stream, which plays without an error.
    ASSERT_EQ(opened.size(), songs.size());
    QFile joined(records.filePath("joined.mp3"));
    ASSERT_TRUE(joined.open(QIODevice::WriteOnly));
    for (const auto& name : opened) {
        QFile song(records.filePath(name));
        ASSERT_TRUE(song.open(QIODevice::ReadOnly));
        EXPECT_GT(song.size(), 0) << name.toStdString();
        joined.write(song.readAll());
    }
    joined.close();
    EXPECT_EQ(Decode(joined.fileName()), 0);
    form->close();
}

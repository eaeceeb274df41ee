// The recorder window on its own: real settings files through Quillet in a temporary program
// folder, a stream server inside the test, the real dialogs answered as a user would.
#include "frmRecord.h"
#include "FakeQuestions.h"
#include "IcyStream.h"
#include "ProgramFolder.h"
#include "RecorderTestKit.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <quillet/OrvaINIManager.h>

using namespace controls;
using namespace core;

using namespace recorder;
using namespace icytest;

namespace {

struct Selection : core::ChannelSelection
{
    QString SelectedType() const override { return "Radio"; }
    QString SelectedChannel() const override { return "Demo"; }
};

} // namespace

TEST(Window, ReportsAnUnwritableFolderRecordsByFileAndClosingClosesTheFile)
{
    QTemporaryDir program, records; // the program's own folder, and where recordings go
    TestServer server;
    quillet::OrvaINIManager ini;
    ini.setINIFile(program.filePath("Channel.ini").toStdString());
    ini.WriteValue("Radio", "Demo", server.Url().toStdString());
    ini.setINIFile(program.filePath("Settings.ini").toStdString());
    ini.WriteValue("Record", "FolderPath", records.filePath("missing").toStdString());
    // The program's own binding, as the player will hand it over.
    OverrideProgramFolder(program.path());
    Selection selection;
    QPointer<frmRecord> form =
        new frmRecord(std::make_shared<ProgramRecorderSettings>(), selection, nullptr, 0);
    form->show();
    ASSERT_TRUE(server.WaitForRequest());
    auto* record = form->findChild<QPushButton*>("CmdRecord");
    auto text = [&](const char* name) { return form->findChild<QLabel*>(name)->text(); };
    AnsweredQuestions user;
    user->Answers = {QStringLiteral("show.mp3")};
    record->click();
    EXPECT_FALSE(record->isChecked());
    EXPECT_EQ(record->text(), "RECORD");
    EXPECT_TRUE(text("lblFile").contains("cannot create")) << text("lblFile").toStdString();

    user->Answers = {records.path()};
    QTest::mouseClick(form->findChild<dcButton*>("btnBrowse"), Qt::LeftButton);
    EXPECT_EQ(user->Log.back().Title, "Select a folder to save");
    // The chooser is offered the stored folder; it starts at its nearest existing parent itself.
    EXPECT_EQ(user->Log.back().Offered, records.filePath("missing"));
    ini.setINIFile(program.filePath("Settings.ini").toStdString());
    EXPECT_EQ(ini.GetValue("Record", "FolderPath", ""), records.path().toStdString());

    user->Answers = {QStringLiteral("show.mp3")};
    record->click();
    const auto& asked = user->Log.back();
    EXPECT_TRUE(asked.Offered.startsWith("File") && asked.Offered.endsWith(".mp3"))
        << asked.Offered.toStdString();
    EXPECT_EQ(asked.Title + "|" + asked.Prompt, "New mp3 file|Enter file name: ");
    EXPECT_EQ(record->text(), "STOP");
    EXPECT_EQ(text("lblFile"), "File: show.mp3");
    // No sane interval: everything is audio.
    const auto audio = AudioBytes(3000, 2);
    server.Send("ICY 200 OK\r\nicy-metaint:99999999999\r\n\r\n" + audio);
    ASSERT_TRUE(WaitFor([&] { return text("lblSize") == "Size: 2 kb."; }));
    EXPECT_EQ(text("lblRadio"), "unknown station");
    // Closing the window while recording closes the file.
    const QString path = records.filePath("show.mp3");
    ASSERT_TRUE(HeldOpen(path));
    form->close();
    ASSERT_TRUE(WaitFor([&] { return form.isNull(); }));
    EXPECT_FALSE(HeldOpen(path));
    EXPECT_TRUE(Contents(path).toStdString() == audio);
}

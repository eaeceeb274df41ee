// The recorder window on its own: real settings files through Quillet in a temporary program
// folder, a stream server inside the test, the real dialogs answered as a user would.
#include "frmRecord.h"
#include "IcyStream.h"
#include "ProgramFolder.h"
#include "TestServer.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <quillet/OrvaINIManager.h>

#include <functional>

using namespace recorder;
using icytest::TestServer;
using icytest::WaitFor;

namespace {

struct Selection : ChannelSelection
{
    QString type = "Radio", channel = "Demo";
    QString SelectedType() const override { return type; }
    QString SelectedChannel() const override { return channel; }
};

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool HeldOpen(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const auto& fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget() == target)
            return true;
    return false;
}

// Answers the next modal dialog of type T once it is up (the click that opens it blocks).
template <typename T> void WhenShown(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start(10);
}

struct Window : ::testing::Test
{
    QTemporaryDir program; // the program's own folder
    QTemporaryDir records;
    TestServer server;
    Selection selection;
    std::shared_ptr<quillet::OrvaINIManager> ini = std::make_shared<quillet::OrvaINIManager>();
    QPointer<frmRecord> form;

    void Write(const QString& file, const QString& section, const QString& key,
               const QString& value)
    {
        ini->setINIFile(QDir(program.path()).filePath(file).toStdString());
        ini->WriteValue(section.toStdString(), key.toStdString(), value.toStdString());
    }
    QString Read(const QString& file, const QString& section, const QString& key)
    {
        ini->setINIFile(QDir(program.path()).filePath(file).toStdString());
        return QString::fromStdString(ini->GetValue(section.toStdString(), key.toStdString(), ""));
    }
    void Open(const QString& address)
    {
        Write("Channel.ini", "Radio", "Demo", address);
        // The program's own binding, as the player will hand it over.
        OverrideProgramFolder(program.path());
        form = new frmRecord(std::make_shared<ProgramRecorderSettings>(), selection, nullptr, 0);
        form->show();
    }
    template <typename T = QLabel> T* Get(const char* name)
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    QString Text(const char* name) { return Get(name)->text(); }
    void TearDown() override { delete form; }
};

} // namespace

TEST_F(Window, LoadsTunesAndRecordsByFile)
{
    Write("Settings.ini", "Record", "FolderPath", records.path());
    Write("Settings.ini", "Record", "FileName", "0");
    Open(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()));
    EXPECT_EQ(form->windowTitle(), "Record");
    // The window wears its skin: its width is the skin picture's, and its outline the picture's.
    EXPECT_EQ(form->width(), form->findChild<FormSkin*>("Skin")->pic()->width());
    EXPECT_FALSE(form->mask().isEmpty());
    EXPECT_EQ(Get<dcButton>("btnBrowse")->Caption(), "Browse");
    EXPECT_EQ(Get<QLineEdit>("txtOutPath")->text(), records.path());
    EXPECT_FALSE(Get<QCheckBox>("chkFilebysong")->isChecked());
    EXPECT_EQ(Get<QLineEdit>("txtServer")->text(), "127.0.0.1");
    EXPECT_EQ(Get<QLineEdit>("txtPort")->text(), QString::number(server.Port()));
    EXPECT_FALSE(Get("lblStatus")->isVisible());
    EXPECT_FALSE(Get("lblFile")->isEnabled());
    EXPECT_EQ(Text("lblWinampStatus"), "Waiting for Winamp player open url '127.0.0.1:8000'...");
    ASSERT_TRUE(server.WaitForRequest());
    ASSERT_TRUE(WaitFor([&] { return Text("lblRadio") == "Connected"; }));

    QString offered, prompt, title;
    WhenShown<QInputDialog>([&](QInputDialog* dialog) {
        offered = dialog->textValue();
        prompt = dialog->labelText();
        title = dialog->windowTitle();
        dialog->setTextValue("show.mp3");
        dialog->accept();
    });
    Get<QPushButton>("CmdRecord")->click();
    EXPECT_TRUE(offered.startsWith("File") && offered.endsWith(".mp3")) << offered.toStdString();
    EXPECT_EQ(prompt, "Enter file name: ");
    EXPECT_EQ(title, "New mp3 file");
    EXPECT_EQ(Get<QPushButton>("CmdRecord")->text(), "STOP");
    EXPECT_TRUE(Get("lblStatus")->isVisible());
    EXPECT_TRUE(Get("lblSize")->isEnabled());
    EXPECT_EQ(Text("lblFile"), "File: show.mp3");

    const auto audio = icytest::AudioBytes(3000, 2);
    server.Send(icytest::Header(0) + audio);
    ASSERT_TRUE(WaitFor([&] { return Text("lblSize") == "Size: 2 kb."; }));
    EXPECT_EQ(Text("lblRadio"), "Test FM");
    EXPECT_EQ(Text("lblBitrate"), "Bitrate: 128 Kbps");
    EXPECT_TRUE(Text("lblTime").startsWith("Time: 0:0"));

    Get<QPushButton>("CmdRecord")->click();
    EXPECT_EQ(Get<QPushButton>("CmdRecord")->text(), "RECORD");
    EXPECT_FALSE(Get("lblStatus")->isVisible());
    EXPECT_FALSE(Get("lblSize")->isEnabled());
    EXPECT_EQ(Text("lblSize"), "Size: 2 kb."); // the last texts stay
    const QString path = QDir(records.path()).filePath("show.mp3");
    EXPECT_FALSE(HeldOpen(path));
    EXPECT_TRUE(Contents(path).toStdString() == audio);
}

TEST_F(Window, CancelledNameAndUnwritableFolderLeaveTheWindowIdle)
{
    Write("Settings.ini", "Record", "FolderPath", records.path());
    Open(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()));
    auto* record = Get<QPushButton>("CmdRecord");
    WhenShown<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
    record->click();
    EXPECT_FALSE(record->isChecked());
    EXPECT_EQ(record->text(), "RECORD");
    EXPECT_TRUE(QDir(records.path()).isEmpty());

    Get<QLineEdit>("txtOutPath")->setText(QDir(records.path()).filePath("missing"));
    WhenShown<QInputDialog>([](QInputDialog* dialog) {
        dialog->setTextValue("x.mp3");
        dialog->accept();
    });
    record->click();
    EXPECT_FALSE(record->isChecked());
    EXPECT_EQ(record->text(), "RECORD");
    EXPECT_TRUE(Text("lblFile").contains("cannot create")) << Text("lblFile").toStdString();
}

TEST_F(Window, FilePerSongSettingAndFolderDialog)
{
    QDir(records.path()).mkdir("chosen");
    const QString chosen = QDir(records.path()).filePath("chosen");
    Write("Settings.ini", "Record", "FolderPath", records.path());
    Open(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()));
    Get<QCheckBox>("chkFilebysong")->click();
    EXPECT_EQ(Read("Settings.ini", "Record", "FileName"), "1");

    QString caption;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        caption = dialog->windowTitle();
        dialog->setDirectory(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(Get<dcButton>("btnBrowse"), Qt::LeftButton);
    EXPECT_EQ(caption, "Select a folder to save");
    EXPECT_EQ(Get<QLineEdit>("txtOutPath")->text(), chosen);
    EXPECT_EQ(Read("Settings.ini", "Record", "FolderPath"), chosen);

    // By song: no name dialog, and each new title starts a new file in the chosen folder.
    ASSERT_TRUE(server.WaitForRequest());
    Get<QPushButton>("CmdRecord")->click();
    EXPECT_EQ(Get<QPushButton>("CmdRecord")->text(), "STOP");
    const auto stream = icytest::BuildStream(
        1024, 3, 10, [](int i) { return "StreamTitle='Song " + std::to_string(i) + "';"; });
    server.Send(icytest::Header(1024) + stream.bytes);
    ASSERT_TRUE(WaitFor([&] { return Text("lblTitle") == "Title: 'Song 2'"; }));
    EXPECT_EQ(Text("lblFile"), "File: 'Song 2'.mp3");
    EXPECT_EQ(QDir(chosen).entryList(QDir::Files).size(), 4);

    // Closing the window while recording closes the file.
    const QString last = QDir(chosen).filePath("'Song 2'.mp3");
    ASSERT_TRUE(HeldOpen(last));
    form->close();
    ASSERT_TRUE(WaitFor([&] { return form.isNull(); }));
    EXPECT_FALSE(HeldOpen(last));
    EXPECT_TRUE(Contents(last).toStdString() == stream.audio.substr(stream.textAt[2]));
}

TEST_F(Window, AnAddressWithoutPortNumberNeverConnects)
{
    Write("Channel.ini", "Radio", "Demo",
          QStringLiteral("http://127.0.0.1:%1/stream").arg(server.Port()));
    // Placed beside the player: its top, and its left plus the window's width less 310 twips.
    QWidget player;
    player.setGeometry(100, 50, 300, 200);
    player.show();
    form = new frmRecord(std::make_shared<IniRecorderSettings>(ini, program.path()), selection,
                         &player, 0);
    EXPECT_EQ(form->pos(), QPoint(player.frameGeometry().left() + form->width() - 20,
                                  player.frameGeometry().top()));
    form->show();
    EXPECT_EQ(Get<QLineEdit>("txtPort")->text(), QStringLiteral("%1stream").arg(server.Port()));
    EXPECT_EQ(Text("lblWinampStatus"), "Winamp Status");
    EXPECT_EQ(Text("lblRadio"), "Radio");
    EXPECT_FALSE(form->Core().Relay().Listening());
    EXPECT_TRUE(server.request.isEmpty());
}

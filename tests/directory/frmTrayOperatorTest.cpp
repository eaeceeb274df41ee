// The directory and the operator's server: what it says when the list is not this run's, and
// which click-through addresses it hands to the desktop.
#include "DirectoryWindowKit.h"
#include "FakeQuestions.h"
#include "ProgramState.h"
#include "StartupResult.h"
#include "WebAd.h"

#include <QDesktopServices>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

using namespace directory;

// The list shown is not this run's (the operator out of reach, or answering without a list): the
// directory says so over the advert, which keeps the skin's colours, and the server dialog is one
// click away. No player is open: the directory stands centred and still remembers a choice.
TEST(frmTray, AListNotFreshFromTheOperatorIsSaidWithTheServerDialogOneClickAway)
{
    TempProgramFolder folder;
    AnsweredQuestions questions;
    const QString settingsName = QString::fromLatin1(core::WindowName::Settings);
    core::RegisterWindow(settingsName, [] { return new QWidget; });
    struct Reset
    {
        ~Reset()
        {
            core::NoteChannelListFetch(core::ChannelListFetch::NotTried);
            core::State().SetServerURL(QString());
        }
    } reset;
    core::State().SetServerURL(QStringLiteral("http://127.0.0.1:9/"));
    core::NoteChannelListFetch(core::ChannelListFetch::NotReached);
    {
        OpenDirectory tray; // a first start: no list kept from before
        ASSERT_TRUE(tray.window);
        EXPECT_TRUE(tray->fraNotice->isVisible());
        const QRect screen = tray->screen()->geometry();
        EXPECT_LE((tray->frameGeometry().center() - screen.center()).manhattanLength(), 4);
        EXPECT_EQ(tray->lblNotice->text(), "Could not reach http://127.0.0.1:9/");
        EXPECT_EQ(tray->lblNotice->textFormat(), Qt::PlainText);
        EXPECT_FALSE(tray->WebAd->ShowsPage());
        QTest::mouseClick(tray->btnServer, Qt::LeftButton);
        std::unique_ptr<QWidget> dialog(core::FindWindow(settingsName));
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->isVisible());
    }

    folder.Write("Channel.ini", kThreeTypes);
    {
        QFile list(folder.Path("Channel.ini"));
        ASSERT_TRUE(list.open(QIODevice::ReadWrite));
        ASSERT_TRUE(list.setFileTime(QDateTime(QDate(2026, 3, 4), QTime(5, 6)),
                                     QFileDevice::FileModificationTime));
    }
    {
        OpenDirectory tray;
        ASSERT_TRUE(tray.window);
        EXPECT_EQ(tray->lblNotice->text(),
                  "Could not reach http://127.0.0.1:9/\nshowing the list from 2026-03-04 05:06");
        EXPECT_EQ(Entries(tray->ListType), QStringList({"Rock", "Jazz", "Empty"}));
        tray->FindItem(tray->ListType, "Rock");
        tray->FindItem(tray->ListChannel, "Classic");
        EXPECT_TRUE(folder.Read("Settings.ini").contains("Type=Rock\r\nChannel=Classic"));
    }
    core::NoteChannelListFetch(core::ChannelListFetch::NoList);
    {
        OpenDirectory tray;
        ASSERT_TRUE(tray.window);
        EXPECT_TRUE(tray->lblNotice->text().startsWith("No channel list at http://127.0.0.1:9/\n"));
    }
    core::NoteChannelListFetch(core::ChannelListFetch::Stored);
    {
        OpenDirectory tray;
        ASSERT_TRUE(tray.window);
        EXPECT_FALSE(tray->fraNotice->isVisible());
    }
    EXPECT_TRUE(questions->Log.empty());
}

// Stands in for the desktop's opener: keeps what the program hands it.
class Desktop : public QObject
{
    Q_OBJECT
  public:
    QStringList opened;
  public slots:
    void Open(const QUrl& address) { opened << address.toString(); }
};

// The advert shows the operator's page, and only web pages leave the program: a click-through
// naming a local file or a script never reaches the desktop.
TEST(frmTray, TheAdvertShowsTheOperatorsPageAndOnlyWebPagesReachTheDesktop)
{
    QTcpServer advert;
    QList<QByteArray> asked;
    QObject::connect(&advert, &QTcpServer::newConnection, &advert, [&] {
        QTcpSocket* socket = advert.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [&asked, socket] {
            asked << socket->readAll();
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>advert</p>");
            socket->disconnectFromHost();
        });
    });
    ASSERT_TRUE(advert.listen(QHostAddress::LocalHost, 0));
    TempProgramFolder folder;
    folder.Write("RSettings.ini",
                 QStringLiteral("ok\r\n[AD]\r\nURL=http://127.0.0.1:%1/ad.html\r\n")
                     .arg(advert.serverPort())
                     .toLatin1());
    AnsweredQuestions questions;
    OpenDirectory tray;
    ASSERT_TRUE(tray.window);
    ASSERT_TRUE(WaitUntil([&] { return !asked.isEmpty(); }));
    EXPECT_TRUE(asked.first().startsWith("GET /ad.html HTTP/1.1\r\n"));

    Desktop desktop;
    const QStringList schemes{"http", "https", "file", "javascript", ""};
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &desktop, "Open");
    for (const char* address : {"file:///etc/passwd", "/etc/passwd", "javascript:alert(1)",
                                "https://operator.example/offer?id=7"}) {
        folder.Write("RSettings.ini", QByteArray("ok\r\n[AD]\r\nClickURL=") + address + "\r\n");
        emit tray->WebAd->Click();
    }
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(desktop.opened, QStringList{"https://operator.example/offer?id=7"});
}

#include "frmTrayOperatorTest.moc"

// The directory and the operator's server: what it says when the list is not this run's, and
// which click-through addresses it hands to the desktop.
#include "DirectoryFolder.h"
#include "DirectoryWindowKit.h"
#include "FakeQuestions.h"
#include "ProgramState.h"
#include "StartupResult.h"
#include "WebAd.h"

#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <memory>

using namespace directory;

// The list shown is not this run's (the operator out of reach, or answering without a list): the
// directory says so over the advert, which keeps the skin's colours, and the server dialog is one
// click away.
TEST(frmTray, AListNotFreshFromTheOperatorIsSaidWithTheServerDialogOneClickAway)
{
    DirectoryFolder folder;
    AnsweredQuestions questions;
    FakePlayer player;
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

// The advert shows the operator's page, and only web pages leave the program: a click-through
// naming a local file never reaches the desktop. The desktop's opener is an xdg-open stand-in that
// keeps its calls; Qt reaches it only on a real X server, so the test runs this binary again there.
TEST(frmTray, TheAdvertShowsTheOperatorsPageAndOnlyWebPagesReachTheDesktop)
{
    if (!qEnvironmentVariableIsSet("CORVANE_DIRECTORY_XDG")) {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server";
        QTemporaryDir bin;
        QFile opener(bin.filePath("xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$(dirname \"$0\")/calls\"\n");
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CORVANE_DIRECTORY_XDG", bin.filePath("calls"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("PATH", bin.path() + ":" + env.value("PATH"));
        for (const char* desktop : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                    "GNOME_DESKTOP_SESSION_ID", "BROWSER"})
            env.remove(desktop);
        run.setProcessEnvironment(env);
        run.start(QCoreApplication::applicationFilePath(),
                  {"--gtest_filter=frmTray.TheAdvertShowsTheOperatorsPage*"});
        ASSERT_TRUE(run.waitForFinished(120'000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardOutput().toStdString()
                                     << run.readAllStandardError().toStdString();
        return;
    }
    // The operator's advert page is asked for.
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
    static QStringList warnings;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    DirectoryFolder folder;
    folder.Write("RSettings.ini",
                 QStringLiteral("ok\r\n[AD]\r\nURL=http://127.0.0.1:%1/ad.html\r\n")
                     .arg(advert.serverPort())
                     .toLatin1());
    AnsweredQuestions questions;
    OpenDirectory tray;
    ASSERT_TRUE(tray.window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }, kWaitMs));
    EXPECT_TRUE(asked.first().startsWith("GET /ad.html HTTP/1.1\r\n"));
    QWidget* surface = tray->WebAd->childAt(tray->WebAd->rect().center());
    ASSERT_NE(surface, nullptr);
    auto clickThrough = [&](const QByteArray& address) {
        folder.Write("RSettings.ini", "ok\r\n[AD]\r\nClickURL=" + address + "\r\n");
        QTest::mouseClick(surface, Qt::LeftButton, {}, surface->rect().center());
    };
    clickThrough("file:///etc/passwd");
    clickThrough("/etc/passwd");
    clickThrough("javascript:alert(1)");
    // A web page does reach it; by then the refused ones would have too, started before it.
    clickThrough("https://operator.example/offer?id=7");
    qInstallMessageHandler(previous);
    const QString calls = qEnvironmentVariable("CORVANE_DIRECTORY_XDG");
    auto opened = [&] {
        QFile file(calls);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return opened().contains("https://operator.example/offer?id=7\n"); }, kWaitMs));
    EXPECT_EQ(opened(), "https://operator.example/offer?id=7\n");
    const QStringList refused = warnings.filter("only http and https addresses are opened");
    EXPECT_EQ(refused.size(), 3) << warnings.join('\n').toStdString();
    EXPECT_TRUE(refused.value(0).contains("file:///etc/passwd"));
}

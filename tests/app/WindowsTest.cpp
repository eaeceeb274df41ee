// The program's real windows together, with a real notification area: texts from servers and
// files are shown as they are, never read as HTML, and the session's end closes them all.
#include "AppTestSupport.h"
#include "FakeQuestions.h"
#include "IcyStream.h"
#include "PlayerHandOver.h"
#include "RecorderTestKit.h"
#include "WindowRegistry.h"

#include <QHelpEvent>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

const QString kHostile = QStringLiteral("<i>x</i> & <b>");

// What a person reads in a text Qt shows with the given format.
QString AsRead(const QString& Text, Qt::TextFormat Format)
{
    if (Format == Qt::PlainText || (Format == Qt::AutoText && !Qt::mightBeRichText(Text)))
        return Text;
    QTextDocument document;
    document.setHtml(Text);
    return document.toPlainText();
}

QWidget* TrayIconWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QSystemTrayIconSys"))
            return widget;
    }
    return nullptr;
}

// The player, the directory, the tray menu, the viewer and the recorder on a station of the
// test's, every text the operator's files and the station give being kHostile.
class RealWindows : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }))
            << "no notification area on this display";
        const QByteArray hostile = kHostile.toUtf8();
        folder.Write("RSettings.ini", "ok\r\n[Info]\r\nTitle=" + hostile +
                                          "\r\n[InfoViewer]\r\nShow=1\r\nHomePage=http://"
                                          "127.0.0.1:1/" +
                                          hostile + "\r\n");
        folder.Write("Channel.ini", "ok\r\n[" + hostile + "]\r\n" + hostile + "=" +
                                        station.Url().toUtf8() + "\r\n");
        folder.Write("Settings.ini",
                     "[LastPlay]\r\nType=" + hostile + "\r\nChannel=" + hostile + "\r\n");
        ASSERT_TRUE(app::ShowPlayerWindow());
        ASSERT_TRUE(core::ShowWindow(QString::fromLatin1(core::WindowName::Recorder)));
        ASSERT_TRUE(station.WaitForRequest());
        const std::string text = kHostile.toStdString();
        std::string block = "StreamTitle='" + text + "';";
        block.resize((block.size() + 15) / 16 * 16, '\0');
        station.Send(icytest::Header(16, "icy-name:" + text + "\r\nicy-br:" + text + "\r\n") +
                     std::string(16, 'a') + char(block.size() / 16) + block + std::string(16, 'a'));
    }
    void TearDown() override { CloseAllWindows(); }

    TempProgramFolder folder;
    AnsweredQuestions user;
    icytest::TestServer station;
};

} // namespace

// The operator's title on the player and in the icon's tip (with the channel's name), the home page
// on the viewer, the station's name, bitrate and title on the recorder.
TEST_F(RealWindows, ServersAndFilesTextsReadExactlyAsGivenAndTheSessionsEndClosesEveryWindow)
{
    QStringList shown;
    ASSERT_TRUE(WaitUntil([&] {
        shown.clear();
        for (QWidget* window : core::OpenWindowsInEndingOrder()) {
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                const QString read = AsRead(label->text(), label->textFormat());
                if (label->text().contains(QLatin1String("<i>")) || read.contains(kHostile))
                    shown << window->objectName() + '.' + label->objectName() + ": " + read;
            }
        }
        return shown.size() >= 5;
    })) << shown.join('\n').toStdString();
    for (const QString& label : shown)
        EXPECT_TRUE(label.contains(kHostile)) << label.toStdString();

    QWidget* icon = TrayIconWindow();
    ASSERT_TRUE(icon);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), icon->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(icon, &help);
    ASSERT_TRUE(WaitUntil([] { return QToolTip::isVisible(); }));
    // The operator's title, then the channel with what it is doing: each read exactly as given.
    const QStringList tip = AsRead(QToolTip::text(), Qt::AutoText).split(u'\n');
    EXPECT_EQ(tip.value(0), kHostile) << QToolTip::text().toStdString();
    EXPECT_TRUE(tip.value(1).startsWith(kHostile + ": ")) << QToolTip::text().toStdString();
    QToolTip::hideText();

    // The session manager's quit at the session's end (Qt's own: every window asked to close,
    // then the loop left) ends the program with the player in the notification area and About
    // open, and main()'s ending then destroys every window of ours, the tray icon's with its icon.
    QWidget* player = core::FindWindow(QString::fromLatin1(core::WindowName::Player));
    ASSERT_TRUE(player);
    core::ShowWindow(QString::fromLatin1(core::WindowName::About));
    player->hide(); // gone to the notification area
    ASSERT_TRUE(TrayIconWindow());

    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    safety.start(15'000);
    QTimer::singleShot(0, qApp, [] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    app::DestroyRemainingWindows();
    EXPECT_TRUE(core::OpenWindowsInEndingOrder().isEmpty());
    EXPECT_EQ(TrayIconWindow(), nullptr);
}

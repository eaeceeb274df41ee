// The program's real windows together, with a real notification area: texts from servers and
// files are shown as they are, never read as HTML, and the session's end closes them all.
#include "AppTestSupport.h"
#include "FakeQuestions.h"
#include "IcyStream.h"
#include "PlayerHandOver.h"
#include "RecorderTestKit.h"
#include "WindowRegistry.h"
#include "frmMessage.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTest>
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

// Below Node, every control a person operates has a name and Tab reaches it. Web pages speak for
// themselves.
void ExpectNamedAndReachable(QAccessibleInterface* Node, const QString& Window)
{
    const QObject* object = Node->object();
    const QString name = Window + '.' + (object ? object->objectName() : QString());
    if (object && (object->objectName() == "Browser" || object->objectName() == "WebAd"))
        return;
    const QAccessible::Role operated[] = {QAccessible::Button,       QAccessible::CheckBox,
                                          QAccessible::RadioButton,  QAccessible::List,
                                          QAccessible::EditableText, QAccessible::ComboBox};
    if (std::find(std::begin(operated), std::end(operated), Node->role()) != std::end(operated)) {
        EXPECT_FALSE(Node->text(QAccessible::Name).isEmpty()) << name.toStdString();
        const auto* widget = qobject_cast<const QWidget*>(object);
        EXPECT_TRUE(widget && (widget->focusPolicy() & Qt::TabFocus)) << name.toStdString();
    }
    for (int i = 0; i < Node->childCount(); ++i)
        ExpectNamedAndReachable(Node->child(i), Window);
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

// Every window a person sees, through what a screen reader is told: the window and each control
// named, each control reachable by Tab. Esc then closes each popup as its close picture does:
// the message is recorded as seen.
TEST_F(RealWindows, EveryWindowAndControlIsNamedAndEscClosesThePopups)
{
    using namespace core;
    for (const char* name : {WindowName::About, WindowName::Settings, WindowName::Message})
        ASSERT_TRUE(ShowWindow(QString::fromLatin1(name))) << name;
    FindWindow<player::frmMessage>(QString::fromLatin1(WindowName::Message))->SetText("Read me");
    for (const char* name :
         {WindowName::Player, WindowName::Directory, WindowName::Recorder, WindowName::InfoViewer,
          WindowName::About, WindowName::Settings, WindowName::Message}) {
        QWidget* window = FindWindow(QString::fromLatin1(name));
        ASSERT_TRUE(window) << name;
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
        EXPECT_FALSE(root->text(QAccessible::Name).isEmpty()) << name;
        ExpectNamedAndReachable(root, QString::fromLatin1(name));
    }
    for (const char* name : {WindowName::Message, WindowName::About, WindowName::Settings,
                             WindowName::InfoViewer, WindowName::Recorder}) {
        QPointer<QWidget> window = FindWindow(QString::fromLatin1(name));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << name;
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.data(), Qt::Key_Escape);
        EXPECT_TRUE(WaitUntil([&] { return !window || !window->isVisible(); })) << name;
    }
    EXPECT_TRUE(folder.Read("Settings.ini").contains("[Message]\r\nMsg=Read me\r\n"));
}

// The administrator message: how the seen text is kept, the poll against a real server, and the
// popup that slides in with it.
#include "InetTransfer.h"
#include "MediaPlayer.h"
#include "MessagePoll.h"
#include "MessageRules.h"
#include "PopupTestKit.h"
#include "dcButton.h"
#include "frmMessage.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <memory>

using namespace player;

namespace {

// A poll as the player runs it, counting the fetches it has finished and the texts it announced.
struct Poll
{
    std::unique_ptr<MessagePoll> poll = std::make_unique<MessagePoll>();
    int fetches = 0;
    QStringList announced;

    explicit Poll(bool withPopup = true, bool started = true)
    {
        // After the poll's own handler: a counted fetch has been dealt with.
        QObject::connect(&poll->InetMsg(), &platform::InetTransfer::Finished,
                         [this] { ++fetches; });
        QObject::connect(poll.get(), &MessagePoll::NewMessage,
                         [this](const QString& text) { announced << text; });
        if (withPopup)
            ConnectMessagePopup(*poll);
        poll->LoadLastMessage();
        if (started)
            poll->Start();
    }
    // Lets the poll fetch `count` more times.
    bool Fetches(int count)
    {
        const int target = fetches + count;
        return QTest::qWaitFor([&] { return fetches >= target; }, kPatienceMs);
    }
};

frmMessage* OpenPopup()
{
    return core::FindWindow<frmMessage>(QString::fromLatin1(core::WindowName::Message));
}

frmMessage* WaitForPopup(const QString& text)
{
    frmMessage* popup = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            popup = OpenPopup();
            return popup && popup->isVisible() && popup->Text() == text;
        },
        kPatienceMs);
    return popup && popup->Text() == text ? popup : nullptr;
}

bool WaitForSlideEnd(frmMessage* popup)
{
    return QTest::qWaitFor([&] { return !popup->TimerShow.isActive(); }, kPatienceMs) &&
           popup->x() == popup->SlideEndX();
}

bool WaitClosed()
{
    return QTest::qWaitFor([] { return OpenPopup() == nullptr; }, kPatienceMs);
}

} // namespace

using MessageRulesTest = PopupTest;

TEST_F(MessageRulesTest, TheSeenTextReadsBackExactlyTheAddressAnswersAndTheOperatorsLook)
{
    const QString texts[] = {
        "Welcome to the station",              // stored as it always was
        "Line one\r\nC:\\new\\path\\\nlast\n", // line breaks and backslashes
        "  padded on both ends\t",             // blanks the store would trim
        "'quoted'",                            // quotes the store would drop
        QString::fromUtf8("Grüße \\n is not a break"),
    };
    for (const QString& text : texts) {
        ASSERT_TRUE(WriteAcknowledgedMessage(text));
        EXPECT_EQ(ReadAcknowledgedMessage(), text) << text.toStdString();
        EXPECT_FALSE(folder.Read("Settings.ini").contains("last\n"))
            << "a raw line break was stored";
    }
    WriteAcknowledgedMessage(texts[0]);
    EXPECT_TRUE(folder.Read("Settings.ini").contains("Msg=Welcome to the station\r\n"));
    // A value an older program stored with a lone backslash keeps it.
    folder.Write("Settings.ini", "[Message]\r\nMsg=C:\\temp\\x\r\n");
    EXPECT_EQ(ReadAcknowledgedMessage(), QStringLiteral("C:\\temp\\x"));

    EXPECT_EQ(core::Config::MessageAddress("http://h:1"), "http://h:1/Settings/Message.ini");
    EXPECT_EQ(core::Config::MessageAddress("http://h:1/"), "http://h:1/Settings/Message.ini");

    EXPECT_TRUE(IsMessageAnswer(200, "Hello"));
    EXPECT_TRUE(IsMessageAnswer(200, "a <html> tag inside a message"));
    EXPECT_FALSE(IsMessageAnswer(0, ""));                                   // no answer at all
    EXPECT_FALSE(IsMessageAnswer(404, "Not here"));                         // error status
    EXPECT_FALSE(IsMessageAnswer(200, "\r\n <!DOCTYPE HTML><p>Not found")); // soft error page
    EXPECT_FALSE(IsMessageAnswer(200, "\xef\xbb\xbf<html><body>oops</body></html>"));

    const QColor design(1, 2, 3);
    EXPECT_EQ(MessageFontColor(" 4 ; red", design), QColor(128, 0, 0));
    EXPECT_EQ(MessageFontColor("12.6", design), QColor(255, 0, 255));
    EXPECT_EQ(MessageFontColor("16", design), design);
    EXPECT_EQ(MessageFontColor("red", design), QColor(0, 0, 0));
    EXPECT_EQ(MessageFontSize(" 10.5 "), 10.5);
    EXPECT_FALSE(MessageFontSize("0"));
    EXPECT_FALSE(MessageFontSize("1e9"));
}

using MessagePollTest = PopupTest;

TEST_F(MessagePollTest, FailedFetchesChangeNothingAndAPollThatGoesCancelsAHungOne)
{
    WriteAcknowledgedMessage("Old news");
    Poll run(false, false); // each fetch below is started by hand
    const auto check = [&](const char* what) {
        run.poll->TimerMsg_Timer();
        EXPECT_TRUE(run.Fetches(1)) << what;
        EXPECT_TRUE(run.announced.isEmpty()) << what;
        EXPECT_EQ(run.poll->LastMessage(), "Old news") << what;
    };
    ServeMessage("Internal error", 500);
    check("server error");
    ServeMessage("");
    check("emptied message file");
    ServeMessage("Cut short", 200, TestHttpServer::Mode::ShortBody);
    check("connection lost mid-body");
    // A message is a few lines: a body beyond 64 KiB is refused, whatever its length says.
    const QByteArray huge(64 * 1024 + 1, 'x');
    ServeMessage(huge);
    check("oversized message");
    ServeMessage(huge, 200, TestHttpServer::Mode::NoLength);
    check("oversized message without a length");
    ServeMessage(QByteArray(64 * 1024, 'y'));
    run.poll->TimerMsg_Timer();
    EXPECT_TRUE(run.Fetches(1));
    EXPECT_EQ(run.announced.size(), 1) << "64 KiB is still a message";
    run.announced.clear();
    run.poll->SetLastMessage("Old news");
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    core::State().SetServerURL(QStringLiteral("http://127.0.0.1:%1/").arg(gone.serverPort()));
    gone.close();
    check("nobody listening");

    // A hung server gets one request at a time: ticks while it hangs pass.
    core::State().SetServerURL(server.BaseUrl());
    ServeMessage("", 200, TestHttpServer::Mode::Stall);
    run.poll->InetMsg().SetTimeouts(700, 3000);
    const int asked = server.Requests();
    run.poll->TimerMsg_Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.Requests() == asked + 1; }, kPatienceMs));
    for (int tick = 0; tick < 3; ++tick)
        run.poll->TimerMsg_Timer();
    ASSERT_TRUE(run.Fetches(1));
    EXPECT_EQ(server.Requests(), asked + 1) << "no requests piled up against the hung server";
    EXPECT_TRUE(run.announced.isEmpty());
    EXPECT_EQ(run.poll->LastMessage(), "Old news");

    // The player closes while a fetch hangs: the request is dropped, nothing is announced.
    ServeMessage("Too late", 200, TestHttpServer::Mode::Stall);
    run.poll->TimerMsg_Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.Requests() == asked + 2; }, kPatienceMs));
    const int closed = server.Closed();
    run.poll.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.Closed() > closed; }, kPatienceMs));
    EXPECT_TRUE(run.announced.isEmpty());
}

using MessagePopupTest = PopupTest;

TEST_F(MessagePopupTest, ANewTextSlidesInWithTheSoundAndExitRecordsIt)
{
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("CORVANE_BINARY_DIR") + "/bin/msg.wav",
                            folder.Path("msg.wav")));
    folder.Write("RSettings.ini", "ok\r\n[Message]\r\nFontColor=12\r\nFontSize=14\r\n");
    const QString text = QStringLiteral("Tonight:\r\nlive from C:\\Studio\r\n");
    ServeMessage(text.toUtf8());
    {
        Poll run;
        frmMessage* popup = WaitForPopup(text);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(run.announced, QStringList{text});
        EXPECT_FALSE(run.poll->IsRunning());
        EXPECT_EQ(run.poll->LastMessage(), text);
        EXPECT_TRUE(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // In the operator's colour and size.
        EXPECT_EQ(popup->txtMsg->palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_EQ(popup->txtMsg->font().pointSizeF(), 14.0);
        // The chime plays to its end, and its player goes with it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return popup->mediaMsg == nullptr; }, kPatienceMs));
        EXPECT_TRUE(popup->ChimePlayed());
        EXPECT_TRUE(WaitForSlideEnd(popup));
        const QRect screen = popup->screen()->geometry();
        EXPECT_EQ(popup->y(), screen.y() + screen.height() - 203) << "3050 twips up, rounded";

        QTest::mouseClick(popup->ingClose, Qt::LeftButton);
        ASSERT_TRUE(WaitClosed());
        EXPECT_TRUE(run.poll->IsRunning());
        EXPECT_EQ(ReadAcknowledgedMessage(), text);
    }
    // The next run of the player knows it.
    Poll restart;
    EXPECT_EQ(restart.poll->LastMessage(), text);
    ASSERT_TRUE(restart.Fetches(2));
    EXPECT_TRUE(restart.announced.isEmpty());
    EXPECT_EQ(OpenPopup(), nullptr);
}

TEST_F(MessagePopupTest, TheButtonClosesWithoutRecordingAChangedTextWaitsAndTheMessageButton)
{
    WriteAcknowledgedMessage("Seen long ago");
    ServeMessage("First");
    {
        Poll run;
        frmMessage* popup = WaitForPopup("First");
        ASSERT_NE(popup, nullptr);
        // Changed while the poll's popup is open: the poll is stopped, so it waits.
        ServeMessage("Second");
        EXPECT_FALSE(run.poll->IsRunning());
        EXPECT_EQ(popup->Text(), "First");

        QTest::mouseClick(popup->dcButton1, Qt::LeftButton);
        ASSERT_TRUE(WaitClosed());
        EXPECT_TRUE(run.poll->IsRunning());
        EXPECT_EQ(ReadAcknowledgedMessage(), "Seen long ago");

        popup = WaitForPopup("Second");
        ASSERT_NE(popup, nullptr);
        QTest::mouseClick(popup->dcButton1, Qt::LeftButton);
        ASSERT_TRUE(WaitClosed());
        // Not again in this run.
        ASSERT_TRUE(run.Fetches(2));
        EXPECT_EQ(run.announced, (QStringList{"First", "Second"}));

        // The player's message button shows the last text; a new one then takes its place
        // without sliding again.
        popup = ShowMessage(run.poll->LastMessage(), run.poll.get());
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(run.poll->IsRunning());
        ASSERT_TRUE(WaitForSlideEnd(popup));
        const QPoint settled = popup->pos();

        ServeMessage("Breaking");
        ASSERT_EQ(WaitForPopup("Breaking"), popup);
        EXPECT_EQ(popup->pos(), settled);
        EXPECT_FALSE(popup->TimerShow.isActive());
        EXPECT_EQ(core::ShowWindow(QString::fromLatin1(core::WindowName::Message)), popup);

        // Every later slide-in runs as the first did and stops at the same place.
        QTest::mouseClick(popup->dcButton1, Qt::LeftButton);
        ASSERT_TRUE(WaitClosed());
        popup = ShowMessage("Again", run.poll.get());
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(popup->TimerShow.isActive());
        EXPECT_TRUE(WaitForSlideEnd(popup));
    }
    EXPECT_EQ(ReadAcknowledgedMessage(), "Seen long ago");
}

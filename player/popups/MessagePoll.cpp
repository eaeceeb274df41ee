#include "MessagePoll.h"

#include "Config.h"
#include "InetTransfer.h"
#include "MessageRules.h"
#include "ProgramState.h"
#include "Text.h"

#include <QPointer>

namespace player {

MessagePoll::MessagePoll(QObject* parent)
    : QObject(parent), pInetMsg(new platform::InetTransfer(this))
{
    pInetMsg->SetMaxBodyBytes(MaxMessageBytes);
    TimerMsg.setInterval(IntervalMs);
    connect(&TimerMsg, &QTimer::timeout, this, &MessagePoll::TimerMsg_Timer);
}

MessagePoll::~MessagePoll() = default;

void MessagePoll::Start()
{
    TimerMsg.start();
}

void MessagePoll::Stop()
{
    ++iStops;
    TimerMsg.stop();
}

void MessagePoll::LoadLastMessage()
{
    sLastMessage = ReadAcknowledgedMessage();
}

void MessagePoll::TimerMsg_Timer()
{
    // Waiting here for the earlier fetch would re-enter the program from this tick for as long
    // as the server hangs; the next tick after that fetch ends polls again.
    if (pInetMsg->StillExecuting())
        return;
    QPointer<MessagePoll> self(this);
    const int stops = iStops;
    const QByteArray body =
        pInetMsg->OpenURL(core::Config::MessageAddress(core::State().ServerURL()));
    // The fetch ran a nested event loop: the player may have closed, or stopped the poll.
    if (!self || iStops != stops ||
        pInetMsg->LastOutcome() != platform::InetTransfer::Outcome::Answered)
        return;
    if (!IsMessageAnswer(pInetMsg->ResponseCode(), body))
        return;
    const QString text = core::ShowBytes(body);
    // An emptied message file withdraws the message; there is nothing to pop up.
    if (text.isEmpty() || text == sLastMessage)
        return;
    Stop();
    sLastMessage = text;
    emit NewMessage(text);
}

} // namespace player

#include "MessagePoll.h"

#include "Config.h"
#include "InetTransfer.h"
#include "MessageRules.h"
#include "ProgramState.h"
#include "Text.h"

namespace player {

MessagePoll::MessagePoll(QObject* parent)
    : QObject(parent), pInetMsg(new platform::InetTransfer(this))
{
    pInetMsg->SetMaxBodyBytes(MaxMessageBytes);
    TimerMsg.setInterval(IntervalMs);
    connect(&TimerMsg, &QTimer::timeout, this, &MessagePoll::TimerMsg_Timer);
    connect(pInetMsg, &platform::InetTransfer::Finished, this, &MessagePoll::InetMsg_Finished);
}

MessagePoll::~MessagePoll() = default;

void MessagePoll::Start()
{
    TimerMsg.start();
}

void MessagePoll::Stop()
{
    TimerMsg.stop();
    pInetMsg->Cancel();
}

void MessagePoll::LoadLastMessage()
{
    sLastMessage = ReadAcknowledgedMessage();
}

void MessagePoll::TimerMsg_Timer()
{
    if (pInetMsg->StillExecuting())
        return;
    pInetMsg->OpenURL(core::Config::MessageAddress(core::State().ServerURL()));
}

void MessagePoll::InetMsg_Finished(const QByteArray& Body)
{
    if (pInetMsg->LastOutcome() != platform::InetTransfer::Outcome::Answered ||
        !IsMessageAnswer(pInetMsg->ResponseCode(), Body))
        return;
    const QString text = core::ShowBytes(Body);
    // An emptied message file withdraws the message; there is nothing to pop up.
    if (text.isEmpty() || text == sLastMessage)
        return;
    Stop();
    sLastMessage = text;
    emit NewMessage(text);
}

} // namespace player

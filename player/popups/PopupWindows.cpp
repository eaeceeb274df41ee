#include "PopupWindows.h"

#include "MessageBoard.h"
#include "MessagePoll.h"
#include "WindowRegistry.h"
#include "frmAbout.h"
#include "frmInfoViewer.h"
#include "frmMessage.h"

namespace player {

namespace {

// The poll with its popup, as the player drives it.
class PolledMessages : public MessagePoll, public core::MessageBoard
{
  public:
    explicit PolledMessages(QObject* Owner) : MessagePoll(Owner) { ConnectMessagePopup(*this); }

    void LoadLastMessage() override { MessagePoll::LoadLastMessage(); }
    void Start() override { MessagePoll::Start(); }
    void Stop() override { MessagePoll::Stop(); }
    bool IsRunning() const override { return MessagePoll::IsRunning(); }
    QString LastMessage() const override { return MessagePoll::LastMessage(); }
    void ShowLastMessage() override { ShowMessage(MessagePoll::LastMessage(), this); }
};

} // namespace

void RegisterPopupWindows()
{
    core::RegisterWindow(QString::fromLatin1(core::WindowName::Message),
                         [] { return new frmMessage; });
    core::RegisterWindow(QString::fromLatin1(core::WindowName::InfoViewer),
                         [] { return new frmInfoViewer; });
    core::RegisterWindow(QString::fromLatin1(core::WindowName::About), [] { return new frmAbout; });
    core::RegisterMessageBoard([](QObject* Owner) { return new PolledMessages(Owner); });
}

} // namespace player

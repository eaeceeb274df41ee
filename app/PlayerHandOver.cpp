#include "PlayerHandOver.h"

#include "Channels.h"
#include "DirectoryWindows.h"
#include "PlayerWindows.h"
#include "PopupWindows.h"
#include "WindowRegistry.h"
#include "frmRecord.h"
#include "frmSettings.h"

namespace app {

void RegisterWindows()
{
    player::RegisterWindows();
    player::RegisterPopupWindows();
    directory::RegisterWindows();
    core::RegisterWindow(QString::fromLatin1(core::WindowName::Recorder), [] {
        // The player opens the recorder only while the directory has a channel selected.
        const auto* selection = core::FindWindow<core::ChannelSelection>(
            QString::fromLatin1(core::WindowName::Directory));
        return selection ? new recorder::frmRecord(*selection, core::FindWindow(QString::fromLatin1(
                                                                   core::WindowName::Player)))
                         : nullptr;
    });
    core::RegisterWindow(QString::fromLatin1(core::WindowName::Settings),
                         [] { return new frmSettings; });
}

QWidget* ShowPlayerWindow()
{
    // A splash started without main() (in tests) hands over to the same player.
    static const bool registered = (RegisterWindows(), true);
    Q_UNUSED(registered);
    return core::ShowWindow(QString::fromLatin1(core::WindowName::Player));
}

} // namespace app

#include "PopupWindows.h"

#include "WindowRegistry.h"
#include "frmAbout.h"
#include "frmInfoViewer.h"
#include "frmMessage.h"

namespace player {

void RegisterPopupWindows()
{
    core::RegisterWindow(QString::fromLatin1(core::WindowName::Message),
                         [] { return new frmMessage; });
    core::RegisterWindow(QString::fromLatin1(core::WindowName::InfoViewer),
                         [] { return new frmInfoViewer; });
    core::RegisterWindow(QString::fromLatin1(core::WindowName::About), [] { return new frmAbout; });
}

} // namespace player

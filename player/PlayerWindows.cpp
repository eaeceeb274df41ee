#include "PlayerWindows.h"

#include "FrmSysTray.h"
#include "WindowRegistry.h"
#include "frmPlayer.h"

namespace player {

void RegisterWindows()
{
    core::RegisterWindow(QString::fromLatin1(core::WindowName::Player),
                         [] { return new frmPlayer; });
    core::RegisterWindow(QString::fromLatin1(core::WindowName::TrayMenu),
                         [] { return new FrmSysTray; });
}

} // namespace player

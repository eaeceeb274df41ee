#include "PlayerHandOver.h"

#include "PlayerWindows.h"
#include "WindowRegistry.h"
#include "frmSettings.h"

namespace app {

void RegisterWindows()
{
    player::RegisterWindows();
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

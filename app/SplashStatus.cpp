#include "SplashStatus.h"

#include <QCoreApplication>

namespace app {

std::optional<QString> SplashStatusText(SplashTransfer Transfer, int State,
                                        const QString& ResponseInfo)
{
    switch (State) {
    case 1:
        return QCoreApplication::translate("app::frmLoad", "Connecting...");
    case 2:
        return QCoreApplication::translate("app::frmLoad", "Host resolved.");
    case 3:
        return QCoreApplication::translate("app::frmLoad", "Updateing channel list....");
    case 4:
        return Transfer == SplashTransfer::Channel
                   ? QCoreApplication::translate("app::frmLoad", "Loading player...")
                   : QCoreApplication::translate("app::frmLoad", "Update successfully!!");
    case 8:
        return QCoreApplication::translate("app::frmLoad", "Loading player...");
    case 11:
        return QCoreApplication::translate("app::frmLoad", "Error ") + ResponseInfo;
    case 12:
        return QString();
    default:
        return std::nullopt;
    }
}

} // namespace app

#include "SplashStatus.h"

namespace app {

std::optional<QString> SplashStatusText(SplashTransfer Transfer, int State,
                                        const QString& ResponseInfo)
{
    switch (State) {
    case 1:
        return QStringLiteral("Connecting...");
    case 2:
        return QStringLiteral("Host resolved.");
    case 3:
        return QStringLiteral("Updateing channel list....");
    case 4:
        return Transfer == SplashTransfer::Channel ? QStringLiteral("Loading player...")
                                                   : QStringLiteral("Update successfully!!");
    case 8:
        return QStringLiteral("Loading player...");
    case 11:
        return QStringLiteral("Error ") + ResponseInfo;
    case 12:
        return QString();
    default:
        return std::nullopt;
    }
}

} // namespace app

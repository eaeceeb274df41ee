#include "SessionBus.h"

#include <QFileInfo>
#include <QString>
#include <QtGlobal>

namespace platform {

bool UserBusSocketExists()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool SessionBusExists()
{
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") || UserBusSocketExists();
}

} // namespace platform

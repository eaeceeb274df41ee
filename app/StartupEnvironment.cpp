#include "StartupEnvironment.h"

#include "SessionBus.h"

#include <QtGlobal>
#include <unistd.h>

namespace app {

QList<EnvironmentChange>
StartupEnvironmentChanges(bool IsRoot, const std::function<QByteArray(const char*)>& Env,
                          bool UserBusSocketExists, bool Verbose)
{
    QList<EnvironmentChange> changes;
    if (IsRoot && Env("QTWEBENGINE_DISABLE_SANDBOX").isEmpty())
        changes.append(EnvironmentChange("QTWEBENGINE_DISABLE_SANDBOX", "1"));
    const bool wayland = Env("XDG_SESSION_TYPE") == "wayland" || !Env("WAYLAND_DISPLAY").isEmpty();
    if (wayland && !Env("DISPLAY").isEmpty() && Env("QT_QPA_PLATFORM").isEmpty())
        changes.append(EnvironmentChange("QT_QPA_PLATFORM",
                                         "xcb;wayland")); // Wayland still if X fails after all
    if (Env("DBUS_SESSION_BUS_ADDRESS").isEmpty() && !UserBusSocketExists)
        changes.append(EnvironmentChange("DBUS_SESSION_BUS_ADDRESS", "disabled:"));
    const QByteArray chromium = Env("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!Verbose && !chromium.contains("--log-level"))
        changes.append(EnvironmentChange("QTWEBENGINE_CHROMIUM_FLAGS",
                                         (chromium + " --log-level=3").trimmed()));
    return changes;
}

namespace {

QtMessageHandler g_Default = nullptr;

void WarningsOnly(QtMsgType Type, const QMessageLogContext& Context, const QString& Message)
{
    if (Type == QtDebugMsg || Type == QtInfoMsg)
        return;
    g_Default(Type, Context, Message);
}

} // namespace

void PrepareStartupEnvironment(bool Verbose)
{
    if (!Verbose)
        g_Default = qInstallMessageHandler(WarningsOnly);
    const auto changes = StartupEnvironmentChanges(
        ::geteuid() == 0, [](const char* name) { return qgetenv(name); },
        platform::UserBusSocketExists(), Verbose);
    for (const auto& [name, value] : changes)
        qputenv(name.constData(), value);
}

} // namespace app

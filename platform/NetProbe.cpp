#include "NetProbe.h"

#include <QCoreApplication>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <algorithm>

namespace platform {
namespace {

bool ReachesBeyondLink(const QHostAddress& address)
{
    return !address.isLoopback() && !address.isLinkLocal() && !address.isNull();
}

bool IsUsable(const QNetworkInterface& iface)
{
    const auto flags = iface.flags();
    if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
        flags.testFlag(QNetworkInterface::IsLoopBack))
        return false;
    const auto entries = iface.addressEntries();
    return std::any_of(entries.begin(), entries.end(),
                       [](const QNetworkAddressEntry& e) { return ReachesBeyondLink(e.ip()); });
}

QNetworkInformation* NetworkManagerInformation()
{
    if (!QCoreApplication::instance())
        return nullptr;
    // Loading scans plugins and asks the system bus; one attempt per run is enough.
    static const bool loaded =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    return loaded ? QNetworkInformation::instance() : nullptr;
}

} // namespace

ConnectedState InterfaceConnectedState()
{
    ConnectedState state;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        if (IsUsable(iface)) {
            state.bConnected = true;
            state.lFlags = ConnLan;
            state.sName = iface.humanReadableName();
            break;
        }
    }
    return state;
}

ConnectedState QueryConnectedState()
{
    ConnectedState state = InterfaceConnectedState();
    if (!state.bConnected)
        return state;
    QNetworkInformation* info = NetworkManagerInformation();
    if (!info || info->reachability() == QNetworkInformation::Reachability::Unknown)
        return state;
    const auto reach = info->reachability();
    state.bConnected = reach == QNetworkInformation::Reachability::Online ||
                       reach == QNetworkInformation::Reachability::Site;
    if (!state.bConnected)
        state.lFlags = 0;
    else if (info->transportMedium() == QNetworkInformation::TransportMedium::Cellular)
        state.lFlags = ConnModem;
    return state;
}

QList<DialUpConnection> EnumDialUpConnections()
{
    return {};
}

void HangUpDialUp(quintptr) {}

} // namespace platform

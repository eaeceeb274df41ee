#include "CNetConn.h"

#include "NetProbe.h"

namespace core {

bool CNetConn::GetConnState(int32_t& Flags, QString& Name)
{
    const platform::ConnectedState state = platform::QueryConnectedState();
    Flags = static_cast<int32_t>(state.lFlags);
    Name = state.sName;
    return state.bConnected;
}

bool CNetConn::IsConnected() const
{
    int32_t flags = 0;
    QString name;
    return GetConnState(flags, name);
}

int32_t CNetConn::ConnType() const
{
    int32_t flags = 0;
    QString name;
    GetConnState(flags, name);
    return flags;
}

QString CNetConn::ConnName() const
{
    int32_t flags = 0;
    QString name;
    GetConnState(flags, name);
    return name;
}

QString CNetConn::ConnTypeDevice(const int32_t& nType)
{
    static constexpr struct
    {
        int32_t bit;
        const char* text;
    } order[] = {{platform::ConnLan, "LAN"},
                 {platform::ConnModem, "Modem"},
                 {platform::ConnProxy, "Proxy"},
                 {platform::ConnOffline, "Offline"}};
    for (const auto& entry : order) {
        if (nType & entry.bit)
            return QString::fromLatin1(entry.text);
    }
    return {};
}

void CNetConn::HangUp()
{
    // The name to end is never set, so only entries with a blank name would match.
    const QString target;
    const auto connections = platform::EnumDialUpConnections();
    for (const platform::DialUpConnection& connection : connections) {
        if (connection.sEntryName.trimmed() == target)
            platform::HangUpDialUp(connection.hConnection);
    }
}

} // namespace core

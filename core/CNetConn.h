// Asks the system whether there is a usable network connection. Stateless: every property
// queries afresh, so a caller may create one per question.
#pragma once

#include <QString>
#include <cstdint>

namespace core {

class CNetConn
{
  public:
    bool IsConnected() const;
    // Connected-state flags: 2 LAN, 1 modem, 4 proxy, 32 offline.
    int32_t ConnType() const;
    // The text of the first flag set, tested in the order LAN, Modem, Proxy, Offline.
    static QString ConnTypeDevice(const int32_t& nType);
    // The interface carrying the connection, empty when there is none.
    QString ConnName() const;
    // Ends dial-up connections with a blank entry name; Linux has none, so this only returns.
    void HangUp();

  private:
    static bool GetConnState(int32_t& Flags, QString& Name);
};

} // namespace core

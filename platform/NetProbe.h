// The Linux stand-in for the desktop's connected-state query and its dial-up (RAS) list.
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace platform {

// Connected-state flags, numbered as the desktop API numbers them.
enum ConnectionFlags : quint32 {
    ConnModem = 1,
    ConnLan = 2,
    ConnProxy = 4,
    ConnOffline = 32,
};

struct ConnectedState
{
    bool bConnected = false;
    quint32 lFlags = 0;
    QString sName;
};

// A usable network here: an interface other than loopback that is up, running and has an
// address that can reach beyond the link (so not 127.x, 169.254.x or fe80::).
ConnectedState InterfaceConnectedState();

// InterfaceConnectedState, refined by NetworkManager's verdict where Qt has a backend for it.
// Without any usable interface the answer is "not connected" whatever NetworkManager says: it
// speaks for the host, not for a private network namespace.
ConnectedState QueryConnectedState();

struct DialUpConnection
{
    quintptr hConnection = 0;
    QString sEntryName;
};

// Dial-up connections the desktop could hang up; Linux has no such list, so it is always empty.
QList<DialUpConnection> EnumDialUpConnections();
void HangUpDialUp(quintptr hConnection);

} // namespace platform

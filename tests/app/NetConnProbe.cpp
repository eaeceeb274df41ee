// Prints CNetConn's answers on one line: IsConnected, ConnType, ConnName.
#include "CNetConn.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CNetConn conn;
    std::printf("%d %d [%s]\n", conn.IsConnected() ? 1 : 0, conn.ConnType(),
                conn.ConnName().toUtf8().constData());
    return 0;
}

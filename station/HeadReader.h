#pragma once
// Waits for the request head of a fresh connection. A client that sends garbage, too much, or
// nothing at all within the time limit is answered 400 (or simply dropped) instead of being
// buffered for ever.
#include "HttpRequest.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

constexpr int RequestHeadTimeoutMs = 15000;

// Calls onHead once with the parsed head; the socket is deleted when it disconnects.
void AwaitRequestHead(QTcpSocket* socket,
                      std::function<void(QTcpSocket*, const RequestHead&)> onHead);

// Writes a bodiless status response and closes the connection once it is sent.
void RespondAndClose(QTcpSocket* socket, const QByteArray& statusLine);

// Opens server on 127.0.0.1:port (0: any free port); false with "<who>: cannot listen on …" when
// the port is taken or not allowed.
bool ListenOnLoopback(QTcpServer& server, quint16 port, const QString& who, QString& error);

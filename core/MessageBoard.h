// The operator's message as the player drives it (the poll, the last text, the popup), without
// the player linking the library that polls and pops up: that library registers how to make one,
// as window libraries register their windows, and the player asks for one when it loads.
#pragma once

#include <QString>

#include <functional>

class QObject;

namespace core {

class MessageBoard
{
  public:
    virtual ~MessageBoard() = default;
    // The acknowledged text from "Settings.ini" [Message] Msg becomes the last one seen.
    virtual void LoadLastMessage() = 0;
    // Polls the server once a second; a new text pops up.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
    virtual QString LastMessage() const = 0;
    // Pops up the last text seen; the poll keeps running.
    virtual void ShowLastMessage() = 0;
};

// Makes a board owned by Owner (destroyed with it).
using MessageBoardFactory = std::function<MessageBoard*(QObject* Owner)>;

// How to make the board; a later registration replaces an earlier one.
void RegisterMessageBoard(MessageBoardFactory Factory);

// A new board owned by Owner; a silent one when nothing is registered.
MessageBoard* MakeMessageBoard(QObject* Owner);

} // namespace core

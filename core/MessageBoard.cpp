#include "MessageBoard.h"

#include <QObject>

namespace core {

namespace {

// A program without the operator's messages (a tool, a test of other windows): nothing polls,
// nothing pops up.
class QuietBoard : public QObject, public MessageBoard
{
  public:
    explicit QuietBoard(QObject* Owner) : QObject(Owner) {}
    void LoadLastMessage() override {}
    void Start() override {}
    void Stop() override {}
    bool IsRunning() const override { return false; }
    QString LastMessage() const override { return {}; }
    void ShowLastMessage() override {}
};

MessageBoardFactory& Registered()
{
    static MessageBoardFactory factory;
    return factory;
}

} // namespace

void RegisterMessageBoard(MessageBoardFactory Factory)
{
    Registered() = std::move(Factory);
}

MessageBoard* MakeMessageBoard(QObject* Owner)
{
    return Registered() ? Registered()(Owner) : new QuietBoard(Owner);
}

} // namespace core

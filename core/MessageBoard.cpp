#include "MessageBoard.h"

namespace core {

namespace {

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
    return Registered() ? Registered()(Owner) : nullptr;
}

} // namespace core

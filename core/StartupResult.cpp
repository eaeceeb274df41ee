#include "StartupResult.h"

namespace core {
namespace {
ChannelListFetch g_ChannelList = ChannelListFetch::NotTried;
} // namespace

void NoteChannelListFetch(ChannelListFetch Outcome)
{
    g_ChannelList = Outcome;
}

ChannelListFetch LastChannelListFetch()
{
    return g_ChannelList;
}

} // namespace core

// What the start-up's downloads came to in this run, kept for the windows that show their results:
// the directory says when the list it shows is not fresh from the operator.
#pragma once

namespace core {

enum class ChannelListFetch {
    NotTried,   // no download has finished (or it was cancelled)
    Stored,     // the operator's list arrived and is the one on disk
    NotReached, // the operator's server could not be reached
    NoList,     // the server answered, but not with a channel list
};

void NoteChannelListFetch(ChannelListFetch Outcome);
ChannelListFetch LastChannelListFetch();

} // namespace core

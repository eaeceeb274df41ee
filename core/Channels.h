// What the windows around the channel directory need from it and from the player, without
// linking either: the directory and the player implement these, and the others find them
// through the window registry (FindWindow<core::ChannelSelection>(WindowName::Directory)).
#pragma once

#include <QString>

namespace core {

// The texts of the selected entries of the directory's type and channel lists (empty when
// nothing is selected).
class ChannelSelection
{
  public:
    virtual ~ChannelSelection() = default;
    virtual QString SelectedType() const = 0;
    virtual QString SelectedChannel() const = 0;
    // The selected channel's stream address from "Channel.ini", looked up with the bytes its
    // names were read with (the shown texts may not convert back to them); empty when nothing is
    // selected.
    virtual QString SelectedAddress() const = 0;
};

// The player window as the directory drives it.
class ChannelPlayer
{
  public:
    virtual ~ChannelPlayer() = default;
    // Gives the media component Address (empty too: then nothing plays); it starts playing on
    // its own. The stop/play button shows its playing image and PlayStopped becomes false.
    virtual void PlayChannel(const QString& Address) = 0;
};

} // namespace core

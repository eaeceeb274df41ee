// What the channel directory reads and keeps, without any widget: the types and channels of
// "Channel.ini" by position, a channel's stream address, the last played type and channel in
// "Settings.ini", and the rules the window applies to them.
//
// Names travel as the bytes read from the file (core::IniName): they are shown converted, but
// looked up and written back exactly as they were, so a Windows-1252 file keeps working.
#pragma once

#include "StartupResult.h"
#include "Text.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace directory {

class ChannelList
{
  public:
    // The sections of "Channel.ini" in file order; empty when the file is missing or empty.
    static std::vector<core::IniName> Types();
    // The keys of the section at TypeIndex (0-based position, not looked up by name) in file
    // order; empty when there is no section there.
    static std::vector<core::IniName> Channels(int TypeIndex);
    // The stream address of Channel in section Type; empty when either is missing.
    static std::string Address(const std::string& Type, const std::string& Channel);
};

// "Settings.ini" [LastPlay]: the type and channel played last.
struct LastPlay
{
    core::IniName Type;
    core::IniName Channel;

    // Both keys, read before anything is selected (a selection re-binds the INI store).
    static LastPlay Read();
    // False when either key could not be written.
    static bool Write(const std::string& Type, const std::string& Channel);
};

// The first of Entries whose whole text equals Text, letter case ignored; -1 when none does.
int FindExact(const QStringList& Entries, const QString& Text);

// True when Address names this machine (127.x, ::1, "localhost"): such a channel plays without
// internet, so the connectivity check must not refuse it.
bool IsLoopbackAddress(const QString& Address);

// What the directory says when the list it shows did not come from the operator in this run
// ("Could not reach <Server>", and with a list kept from before, "showing the list from <date>");
// empty when it did, or when nothing was downloaded. ListStored: when the list on disk was stored,
// none when there is no list.
QString ListNotice(core::ChannelListFetch Fetch, const QString& Server,
                   const std::optional<QDateTime>& ListStored);

// When "Channel.ini" was stored, if it holds a list.
std::optional<QDateTime> StoredListTime();

} // namespace directory

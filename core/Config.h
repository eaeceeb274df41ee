// Every file, section and key the program keeps or fetches, with what it means. Values are text;
// a missing key and an empty value read the same, and flags are the exact text "1".
#pragma once

#include <QString>

namespace core {

namespace Config {

// Files in the program's own folder.
inline constexpr char SettingsFile[] = "Settings.ini";   // the user's settings, written by us
inline constexpr char ChannelFile[] = "Channel.ini";     // channel directory, downloaded whole
inline constexpr char RSettingsFile[] = "RSettings.ini"; // operator's settings, downloaded whole

// A downloaded body is stored only when it starts with this marker; the marker line stands
// before the first section, so no reader ever sees it.
inline constexpr char ValidityMarker[] = "ok";

struct Key
{
    const char* File;
    const char* Section;
    const char* Name;
};

// "Settings.ini"
inline constexpr Key ServerURL{SettingsFile, "Server", "URL"};             // server base address
inline constexpr Key LastPlayType{SettingsFile, "LastPlay", "Type"};       // type last played
inline constexpr Key LastPlayChannel{SettingsFile, "LastPlay", "Channel"}; // channel last played
inline constexpr Key PlayerVolume{SettingsFile, "Player", "Volume"};       // 0..100 in steps of 10
inline constexpr Key Autoplay{SettingsFile, "CheckBox", "Autoplay"}; // "1": play LastPath at load
inline constexpr Key LastPath{SettingsFile, "Path", "LastPath"};     // address Autoplay plays
inline constexpr Key LastMessage{SettingsFile, "Message", "Msg"};    // last message acknowledged
inline constexpr Key RecordFolder{SettingsFile, "Record", "FolderPath"};    // recordings folder
inline constexpr Key RecordFilePerSong{SettingsFile, "Record", "FileName"}; // "1" file per song

// "RSettings.ini" (read only: only the download writes it)
inline constexpr Key AdURL{RSettingsFile, "AD", "URL"};                   // advert page
inline constexpr Key AdClickURL{RSettingsFile, "AD", "ClickURL"};         // opened on advert click
inline constexpr Key InfoTitle{RSettingsFile, "Info", "Title"};           // player title, tray tip
inline constexpr Key InfoViewerShow{RSettingsFile, "InfoViewer", "Show"}; // "1": open with player
inline constexpr Key InfoViewerHomePage{RSettingsFile, "InfoViewer", "HomePage"};
inline constexpr Key MessageFontSize{RSettingsFile, "Message", "FontSize"};   // points
inline constexpr Key MessageFontColor{RSettingsFile, "Message", "FontColor"}; // console colour 0-15

// Binds the shared manager to the key's file, then reads (empty default) or writes the key.
QString Read(const Key& key);
// False when the file could not be written; the file then stays as it was.
[[nodiscard]] bool Write(const Key& key, const QString& value);
bool IsFlagSet(const QString& value); // exactly "1"

// Where a settings file is fetched from: the server address as stored, then "/Settings/".
// A stored address ending in "/" therefore gives a doubled slash, as the server expects.
QString SettingsFileAddress(const QString& serverURL, const QString& fileName);
// The administrator message: the server address and "Settings/Message.ini" joined by exactly one
// "/", so a stored address with or without a trailing "/" reaches it.
QString MessageAddress(const QString& serverURL);

} // namespace Config

} // namespace core

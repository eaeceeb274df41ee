// What the recorder window needs from outside the recorder: the settings files and the channel
// the directory has selected. Narrow on purpose, so the window can be opened and tested on its own
// and the player and directory plug in later without changes here.
#pragma once

#include "Channels.h"

#include <QString>

namespace recorder {

// GetValue / WriteValue on an INI file of the program's own folder ("Settings.ini",
// "Channel.ini"), binding the file immediately before each call.
class RecorderSettings
{
  public:
    virtual ~RecorderSettings() = default;
    virtual QString GetValue(const QString& file, const QString& section, const QString& key) = 0;
    virtual bool WriteValue(const QString& file, const QString& section, const QString& key,
                            const QString& value) = 0;
};

// The program's own binding: OpenIniFile and IniManager, the files of the program's folder.
// This is what the player hands the window.
class ProgramRecorderSettings : public RecorderSettings
{
  public:
    QString GetValue(const QString& file, const QString& section, const QString& key) override;
    bool WriteValue(const QString& file, const QString& section, const QString& key,
                    const QString& value) override;
};

} // namespace recorder

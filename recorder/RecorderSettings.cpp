#include "RecorderSettings.h"

#include "IniFiles.h"

#include <quillet/OrvaINIManager.h>

namespace recorder {

QString ProgramRecorderSettings::GetValue(const QString& file, const QString& section,
                                          const QString& key)
{
    core::OpenIniFile(file);
    return QString::fromStdString(
        core::IniManager()->GetValue(section.toStdString(), key.toStdString(), ""));
}

bool ProgramRecorderSettings::WriteValue(const QString& file, const QString& section,
                                         const QString& key, const QString& value)
{
    core::OpenIniFile(file);
    return core::IniManager()->WriteValue(section.toStdString(), key.toStdString(), value.toStdString());
}

} // namespace recorder

#include "RecorderSettings.h"

#include "IniFiles.h"

#include <quillet/OrvaINIManager.h>

namespace recorder {

QString ProgramRecorderSettings::GetValue(const QString& file, const QString& section,
                                          const QString& key)
{
    OpenIniFile(file);
    return QString::fromStdString(
        IniManager()->GetValue(section.toStdString(), key.toStdString(), ""));
}

bool ProgramRecorderSettings::WriteValue(const QString& file, const QString& section,
                                         const QString& key, const QString& value)
{
    OpenIniFile(file);
    return IniManager()->WriteValue(section.toStdString(), key.toStdString(), value.toStdString());
}

} // namespace recorder

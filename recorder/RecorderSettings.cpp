#include "RecorderSettings.h"

#include "IniFiles.h"

#include <QDir>
#include <quillet/OrvaINIManager.h>

namespace recorder {

IniRecorderSettings::IniRecorderSettings(std::shared_ptr<quillet::OrvaINIManager> manager,
                                         QString folder)
    : m_Manager(std::move(manager)), m_Folder(std::move(folder))
{
}

void IniRecorderSettings::Bind(const QString& file)
{
    // The manager is shared by every window: bind it afresh before each use.
    m_Manager->setINIFile(QDir(m_Folder).filePath(file).toStdString());
}

QString IniRecorderSettings::GetValue(const QString& file, const QString& section,
                                      const QString& key)
{
    Bind(file);
    return QString::fromStdString(
        m_Manager->GetValue(section.toStdString(), key.toStdString(), ""));
}

bool IniRecorderSettings::WriteValue(const QString& file, const QString& section,
                                     const QString& key, const QString& value)
{
    Bind(file);
    return m_Manager->WriteValue(section.toStdString(), key.toStdString(), value.toStdString());
}

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

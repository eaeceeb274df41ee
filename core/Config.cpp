#include "Config.h"

#include "IniFiles.h"
#include "Text.h"

namespace core {

namespace Config {

QString Read(const Key& key)
{
    OpenIniFile(QString::fromLatin1(key.File));
    return ShowBytes(IniManager()->GetValue(key.Section, key.Name, ""));
}

bool Write(const Key& key, const QString& value)
{
    OpenIniFile(QString::fromLatin1(key.File));
    return IniManager()->WriteValue(key.Section, key.Name, StoreText(value));
}

bool IsFlagSet(const QString& value)
{
    return value == QLatin1String("1");
}

QString SettingsFileAddress(const QString& serverURL, const QString& fileName)
{
    return serverURL + QLatin1String("/Settings/") + fileName;
}

QString MessageAddress(const QString& serverURL)
{
    const QLatin1String file("Settings/Message.ini");
    return serverURL.endsWith(u'/') ? serverURL + file : serverURL + u'/' + file;
}

} // namespace Config

} // namespace core

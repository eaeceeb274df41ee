#include "IniFiles.h"

#include "ProgramFolder.h"

#include <QFile>

namespace core {

std::shared_ptr<quillet::OrvaINIManager> IniManager()
{
    static std::shared_ptr<quillet::OrvaINIManager> manager;
    if (!manager)
        manager = std::make_shared<quillet::OrvaINIManager>();
    return manager;
}

void OpenIniFile(const QString& FileName)
{
    const QString path = ProgramFolder() + QLatin1Char('/') + FileName;
    IniManager()->setINIFile(QFile::encodeName(path).toStdString());
}

} // namespace core

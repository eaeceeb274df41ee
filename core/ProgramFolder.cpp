#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace core {
namespace {

QString& OverrideFolder()
{
    static QString folder;
    return folder;
}

QString ResolveProgramFolder()
{
    const QString exeFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    const QString folder = ChooseProgramFolder(
        exeFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(folder);
    return folder;
}

} // namespace

QString ChooseProgramFolder(const QString& ExecutableFolder, const QString& UserDataFolder)
{
    // A folder named "portable" is no marker: only a file is, so a stray directory cannot
    // turn an installed program's bin folder into its settings folder.
    if (!ExecutableFolder.isEmpty() &&
        QFileInfo(QDir(ExecutableFolder).filePath(QLatin1String(PortableMarker))).isFile())
        return QDir::cleanPath(ExecutableFolder);
    return QDir::cleanPath(UserDataFolder);
}

QString ProgramFolder()
{
    if (!OverrideFolder().isEmpty())
        return OverrideFolder();
    // The answer cannot change while the program runs, and it is asked before every INI access.
    static const QString folder = ResolveProgramFolder();
    return folder;
}

QString InstalledDataFolder(const QString& ExecutableFolder)
{
    return QDir::cleanPath(QDir(ExecutableFolder).filePath(QStringLiteral(CORVANE_BIN_TO_DATA)));
}

QString InstalledDataFolder()
{
    return InstalledDataFolder(QCoreApplication::applicationDirPath());
}

void OverrideProgramFolder(const QString& Folder)
{
    OverrideFolder() = Folder;
}

} // namespace core

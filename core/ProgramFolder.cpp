#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace core {
namespace {

QString& OverrideFolder()
{
    static QString folder;
    return folder;
}

bool IsWritableFolder(const QString& path)
{
    // access() also answers "no" on a read-only mount, which the permission bits do not show.
    return !path.isEmpty() && ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

QString ResolveProgramFolder()
{
    if (QCoreApplication::instance()) {
        const QString exeFolder = QCoreApplication::applicationDirPath();
        if (IsWritableFolder(exeFolder))
            return exeFolder;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

} // namespace

QString ProgramFolder()
{
    if (!OverrideFolder().isEmpty())
        return OverrideFolder();
    // The answer cannot change while the program runs, and it is asked before every INI access.
    static const QString folder = ResolveProgramFolder();
    return folder;
}

void OverrideProgramFolder(const QString& Folder)
{
    OverrideFolder() = Folder;
}

} // namespace core

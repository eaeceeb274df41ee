#include "Translations.h"

#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {
namespace {

bool Install(QCoreApplication& Application, const QString& Name, const QStringList& Folders)
{
    auto* translator = new QTranslator(&Application);
    for (const QString& folder : Folders) {
        if (translator->load(QLocale(), Name, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

} // namespace

void InstallTranslations(QCoreApplication& Application)
{
    // A portable tree (the build tree among them) carries its own beside the program; an
    // installed one in its data folder.
    const QString translations = QStringLiteral("translations");
    const QStringList own = {QDir(QCoreApplication::applicationDirPath()).filePath(translations),
                             QDir(core::InstalledDataFolder()).filePath(translations)};
    if (!Install(Application, QStringLiteral("corvane"), own))
        return; // English: Qt's dialogs too, or they would speak another language than ours
    Install(Application, QStringLiteral("qtbase"),
            {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
}

} // namespace app

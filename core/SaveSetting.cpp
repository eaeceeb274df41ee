#include "SaveSetting.h"

#include "ProgramFolder.h"
#include "Questions.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>

namespace core {

bool SaveSetting(QWidget* Parent, const Config::Key& Key, const QString& Value)
{
    if (Config::Write(Key, Value))
        return true;
    TellUnsaved(Parent, Key);
    return false;
}

void TellUnsaved(QWidget* Parent, const Config::Key& Key, bool Always)
{
    static QSet<QString> told;
    const QString id = QStringLiteral("%1/%2/%3")
                           .arg(QString::fromLatin1(Key.File), QString::fromLatin1(Key.Section),
                                QString::fromLatin1(Key.Name));
    if (told.contains(id) && !Always)
        return;
    told.insert(id);
    qWarning("settings: could not write %s", qPrintable(id));
    Ask().Message(Parent, QStringLiteral("Corvane net player"), UnsavedText(Key),
                  Questions::Icon::Warning);
}

QString UnsavedText(const Config::Key& Key)
{
    const QString path =
        QDir::toNativeSeparators(QDir(ProgramFolder()).filePath(QString::fromLatin1(Key.File)));
    return QCoreApplication::translate(
               "core::SaveSetting",
               "Your change could not be saved in \"%1\": the folder may be read-only "
               "or the disk full. It holds until the program ends.")
        .arg(path);
}

} // namespace core

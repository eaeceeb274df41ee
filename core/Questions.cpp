#include "Questions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace core {
namespace {

class DesktopQuestions : public Questions
{
  public:
    std::optional<QString> Folder(QWidget* Parent, const QString& Title,
                                  const QString& Start) override
    {
        const QString chosen = QFileDialog::getExistingDirectory(
            Parent, Title, NearestExistingFolder(Start), QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }

    std::optional<QString> Text(QWidget* Parent, const QString& Title, const QString& Prompt,
                                const QString& Initial) override
    {
        bool accepted = false;
        const QString text =
            QInputDialog::getText(Parent, Title, Prompt, QLineEdit::Normal, Initial, &accepted);
        if (!accepted)
            return std::nullopt;
        return text;
    }

    void Message(QWidget* Parent, const QString& Title, const QString& Text, Icon Kind) override
    {
        static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                      QMessageBox::Warning, QMessageBox::Critical};
        QMessageBox box(icons[static_cast<int>(Kind)], Title, Text, QMessageBox::Ok, Parent);
        box.setTextFormat(Qt::PlainText); // texts may name files and addresses
        box.exec();
    }
};

std::unique_ptr<Questions>& Current()
{
    static std::unique_ptr<Questions> questions;
    return questions;
}

} // namespace

Questions& Ask()
{
    if (!Current())
        Current() = std::make_unique<DesktopQuestions>();
    return *Current();
}

void SetQuestions(std::unique_ptr<Questions> Replacement)
{
    Current() = std::move(Replacement);
}

QString NearestExistingFolder(const QString& Path)
{
    if (Path.isEmpty())
        return QDir::homePath();
    QString folder = QDir::cleanPath(QFileInfo(Path).absoluteFilePath());
    // Walk up by text: QDir::cdUp() refuses to step into a parent it has not seen exist.
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return QDir::homePath();
        folder = parent;
    }
    return folder;
}

} // namespace core

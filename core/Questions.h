// How windows ask the user something: a folder, a line of text, or a message to acknowledge. The
// program answers with the desktop's own dialogs; tests put a fake in their place, so no test
// ever has to drive a dialog's internals or wait on one.
#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace core {

class Questions
{
  public:
    enum class Icon { None, Information, Warning, Critical };

    virtual ~Questions() = default;

    // A folder the user picked, starting at Start (or its nearest existing parent when Start is
    // gone); nothing when the user cancelled.
    virtual std::optional<QString> Folder(QWidget* Parent, const QString& Title,
                                          const QString& Start) = 0;
    // A line of text, offered with Initial; nothing when the user cancelled.
    virtual std::optional<QString> Text(QWidget* Parent, const QString& Title,
                                        const QString& Prompt, const QString& Initial) = 0;
    // A message with one OK button; returns once the user has acknowledged it.
    virtual void Message(QWidget* Parent, const QString& Title, const QString& Text, Icon Kind) = 0;
};

// The questions of this program: the desktop's dialogs unless SetQuestions put others in place.
Questions& Ask();
// Puts Replacement in place of the desktop's dialogs; nullptr brings them back.
void SetQuestions(std::unique_ptr<Questions> Replacement);

// The nearest folder at or above Path that exists (the home folder when none does).
QString NearestExistingFolder(const QString& Path);

} // namespace core

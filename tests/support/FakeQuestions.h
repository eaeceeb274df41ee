// Answers the program's questions in tests: each test says beforehand what the user will answer,
// and reads back what was asked. A question nobody prepared an answer for fails the test and is
// answered with "cancel", so no test ever waits on a person.
#pragma once

#include "Questions.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

class FakeQuestions : public core::Questions
{
  public:
    struct Asked
    {
        QString Kind; // "Folder", "Text" or "Message"
        QString Title, Prompt, Offered;
    };

    // The user's answers to Folder and Text, in order; nullopt cancels.
    std::deque<std::optional<QString>> Answers;
    std::vector<Asked> Log;

    std::optional<QString> Folder(QWidget*, const QString& Title, const QString& Start) override
    {
        Log.push_back({QStringLiteral("Folder"), Title, {}, Start});
        return Next();
    }
    std::optional<QString> Text(QWidget*, const QString& Title, const QString& Prompt,
                                const QString& Initial) override
    {
        Log.push_back({QStringLiteral("Text"), Title, Prompt, Initial});
        return Next();
    }
    void Message(QWidget*, const QString& Title, const QString& Text, Icon) override
    {
        Log.push_back({QStringLiteral("Message"), Title, Text, {}});
    }

    // The texts of the messages shown so far.
    QStringList Messages() const
    {
        QStringList texts;
        for (const Asked& asked : Log)
            if (asked.Kind == QLatin1String("Message"))
                texts << asked.Prompt;
        return texts;
    }

  private:
    std::optional<QString> Next()
    {
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << Log.back().Kind.toStdString() << " \""
                          << Log.back().Title.toStdString() << "\"";
            return std::nullopt;
        }
        const std::optional<QString> answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// Puts a FakeQuestions in place of the desktop's dialogs for as long as it lives.
class AnsweredQuestions
{
  public:
    AnsweredQuestions()
    {
        auto fake = std::make_unique<FakeQuestions>();
        m_Fake = fake.get();
        core::SetQuestions(std::move(fake));
    }
    ~AnsweredQuestions() { core::SetQuestions(nullptr); }
    AnsweredQuestions(const AnsweredQuestions&) = delete;
    AnsweredQuestions& operator=(const AnsweredQuestions&) = delete;

    FakeQuestions* operator->() const { return m_Fake; }
    FakeQuestions& operator*() const { return *m_Fake; }

  private:
    FakeQuestions* m_Fake;
};

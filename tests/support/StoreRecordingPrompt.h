#pragma once

#include "app/IUserPrompt.h"

#include <QStringList>

// Answers the core's questions in tests: records every text and answers with a preset reply.
class StoreRecordingPrompt final : public IUserPrompt
{
public:
    explicit StoreRecordingPrompt(bool answer = false)
        : m_answer(answer)
    {
    }

    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        return m_answer;
    }

    QStringList messages;
    QStringList questions;

private:
    bool m_answer;
};

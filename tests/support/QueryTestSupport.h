#pragma once

#include "app/IUserPrompt.h"

#include <QStringList>

class CTrawlexQuery;

// Records what the core would have shown; answers questions with a preset reply.
class QueryRecordingPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;

    QStringList m_messages;
    QStringList m_questions;
    bool m_bAnswer = false;
};

namespace QueryTestSupport {
// A query with every kind of part and texts the database and the escapes must survive:
// quotes, apostrophes, bars, non-ASCII letters and a character outside the BMP.
CTrawlexQuery awkwardQuery();
} // namespace QueryTestSupport

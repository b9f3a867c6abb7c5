#pragma once

#include <QString>

class CQuerySheetEntries;
class CTrawlexDoc;
class IUserPrompt;

// The rules a query must pass before the sheet may commit it. The first rule that fails shows
// its message through the prompt and refuses; the name-clash rule asks whether to overwrite.
// The desktop sheet and the command line both validate through this class.
class CQuerySheetValidator final
{
public:
    CQuerySheetValidator(CTrawlexDoc &doc, IUserPrompt &prompt);

    // True when the query may be committed. On success after an accepted overwrite the
    // document's OverwriteQID names the stored query to replace; a refusal leaves it alone.
    // Database failures of the look-ups propagate as CDaoException.
    bool ValidateQuerySheet(const CQuerySheetEntries &entries);

    // The message of the rule that refused last; empty after a success or after "No" to the
    // overwrite question (which refuses without a message).
    const QString &RefusalMessage() const { return m_strRefusal; }

private:
    bool refuse(const QString &message);

    CTrawlexDoc &m_doc;
    IUserPrompt &m_prompt;
    QString m_strRefusal;
};

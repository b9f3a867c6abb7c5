#pragma once

#include "app/IUserPrompt.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CDaoException;
class CTrawlexDatabase;
class CTrawlexDoc;

// The command line's answers to the core's questions: messages go to stderr, and a question
// is answered with the flag the command was given (no by default).
class CliUserPrompt final : public IUserPrompt
{
public:
    explicit CliUserPrompt(bool answerYes = false);
    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;

private:
    bool m_bAnswerYes;
};

// The database options shared by every command.
namespace CliDatabase {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1; // database or run failure
constexpr int ExitUsage = 2; // bad arguments or input

// tx.mdb in the current directory.
QString defaultPath();
// Takes "--db PATH" or "--db=PATH" out of args into path (left at defaultPath() without one).
// False, with a message on stderr, when --db has no value.
bool takeDbOption(QStringList &args, QString &path);
// Help text line for commands that take the option.
QString dbOptionHelp();

// Prints the report of e on stderr and returns ExitFailure.
int reportFailure(const CDaoException &e);

// Opens the document on path and registers it as the active document. On failure the report
// is on stderr and null comes back (exit with ExitFailure).
std::unique_ptr<CTrawlexDoc> openDocument(const QString &path, IUserPrompt *prompt = nullptr);

// Opens the document on path, runs body with it and returns its status; a database error
// anywhere in body is reported and gives ExitFailure.
int withDocument(const QString &path, const std::function<int(CTrawlexDoc &)> &body,
                 IUserPrompt *prompt = nullptr);

} // namespace CliDatabase

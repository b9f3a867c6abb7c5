#include "CliDatabase.h"

#include "run/CUserEngines.h"
#include "store/CDaoException.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QDir>
#include <QTextStream>

CliUserPrompt::CliUserPrompt(bool answerYes)
    : m_bAnswerYes(answerYes)
{
}

void CliUserPrompt::showMessage(const QString &text)
{
    QTextStream(stderr) << text << '\n';
}

bool CliUserPrompt::askYesNo(const QString &text)
{
    QTextStream(stderr) << text << (m_bAnswerYes ? " yes\n" : " no\n");
    return m_bAnswerYes;
}

namespace CliDatabase {

QString defaultPath()
{
    return QDir::current().filePath(CTrawlexDatabase::fileName());
}

bool takeDbOption(QStringList &args, QString &path)
{
    path = defaultPath();
    for (qsizetype i = 0; i < args.size();) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--db")) {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                QTextStream(stderr) << "trawlex-cli: --db needs a file name\n";
                return false;
            }
            path = args.at(i + 1);
            args.remove(i, 2);
        } else if (a.startsWith(QLatin1String("--db="))) {
            path = a.mid(5);
            args.removeAt(i);
            if (path.isEmpty()) {
                QTextStream(stderr) << "trawlex-cli: --db needs a file name\n";
                return false;
            }
        } else {
            ++i;
        }
    }
    return true;
}

QString dbOptionHelp()
{
    return QStringLiteral("  --db PATH   the database to use (default: tx.mdb in the current directory)\n");
}

int reportFailure(const CDaoException &e)
{
    ReportDaoError(e, nullptr);
    return ExitFailure;
}

std::unique_ptr<CTrawlexDoc> openDocument(const QString &path, IUserPrompt *prompt)
{
    auto doc = std::make_unique<CTrawlexDoc>();
    CliUserPrompt stderrPrompt;
    if (!doc->OpenDatabase(path, prompt ? prompt : &stderrPrompt))
        return nullptr;
    SetActiveTrawlexDoc(doc.get());
    // The engines the user added are known to every command that opens the database.
    try {
        for (const QString &line : CUserEngines(doc->Database()).load())
            QTextStream(stderr) << "trawlex-cli: engine left out: " << line << '\n';
    } catch (const CDaoException &e) {
        reportFailure(e);
        SetActiveTrawlexDoc(nullptr);
        return nullptr;
    }
    return doc;
}

int withDocument(const QString &path, const std::function<int(CTrawlexDoc &)> &body, IUserPrompt *prompt)
{
    std::unique_ptr<CTrawlexDoc> doc = openDocument(path, prompt);
    if (!doc)
        return ExitFailure;
    int status = ExitFailure;
    try {
        status = body(*doc);
    } catch (const CDaoException &e) {
        status = reportFailure(e);
    }
    SetActiveTrawlexDoc(nullptr);
    return status;
}

} // namespace CliDatabase

#pragma once

#include "TestDatabase.h"

#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CTrawlexDoc.h"

#include <QEventLoop>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// What the frame and sheet tests build on: a prompt that records and answers, and a document
// on a fresh copy of the pre-built tx.mdb with settings kept in the test's own folder.
namespace FrameTest {

// Lets the event loop go idle, as the window's command states are settled then.
inline void idle()
{
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

class Prompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        return answer;
    }

    void clear()
    {
        messages.clear();
        questions.clear();
    }

    QStringList messages;
    QStringList questions;
    bool answer = true;
};

struct Store
{
    QTemporaryDir dir;
    Prompt prompt;
    CTrawlexDoc doc;
    std::unique_ptr<CTrawlexSettings> settings;

    // dbPath empty: a copy of the pre-built database.
    bool open(const QString &dbPath = QString())
    {
        QStandardPaths::setTestModeEnabled(true);
        settings = std::make_unique<CTrawlexSettings>(dir.filePath(QStringLiteral("settings.ini")));
        settings->load();
        settings->DirectConnection = true;
        const QString path = dbPath.isEmpty() ? TestDatabase::copyPrebuilt(dir) : dbPath;
        return !path.isEmpty() && doc.OpenDatabase(path, &prompt);
    }

    // A stored query with "include" keywords.
    int addQuery(const QString &name, const QStringList &keywords = {})
    {
        const int qid = doc.MainQueries().insertQuery(name);
        for (const QString &k : keywords) {
            const int kid = doc.Definitions().insertKeyword(qid);
            doc.Definitions().insertKeywordWord(qid, kid, QStringLiteral("include"), k);
        }
        return qid;
    }
    void addResult(int qid, const QString &url, const QString &title)
    {
        doc.Results().insertResult(qid, title, url, QStringLiteral("A summary of ") + title, false);
    }
};

} // namespace FrameTest

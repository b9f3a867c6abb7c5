#pragma once

#include "query/CTrawlexHit.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class CTrawlexDoc;
class CTrawlexQueryResults;

// The hits of one stored query written out for other programs: a CSV table for spreadsheets,
// a JSON document for scripts, and a bookmarks file that browsers import. CSV and JSON also
// name the engines that returned each hit. The desktop program and the command line both
// export through this class.
class CResultsExporter final
{
public:
    enum class Format { Csv, Json, Bookmarks };

    CResultsExporter(const QString &queryName, const QDateTime &retrieved, const CTrawlexQueryResults &results);

    // The stored query qid with its hits in the order the results view lists them; nothing
    // when there is no such query. Throws CDaoException on a database failure.
    static std::optional<CResultsExporter> FromStoredQuery(CTrawlexDoc &doc, int qid);

    // "csv", "json" or "bookmarks" (letter case ignored).
    static std::optional<Format> FormatFromName(const QString &name);
    // The extension the format's files carry, without the dot.
    static QString FileSuffix(Format format);
    // path with the format's extension added when the file name has no extension at all.
    static QString WithSuffix(const QString &path, Format format);

    QByteArray Render(Format format) const;

    // Writes the export to path through a temporary file that replaces path only once it is
    // complete, so a failure leaves no partial file and an existing file untouched. On
    // failure error reads "Error!  Could not write <file>: <reason>".
    bool WriteFile(const QString &path, Format format, QString &error) const;

    QString QueryName() const { return m_strName; }
    QDateTime Retrieved() const { return m_retrieved; }
    qsizetype HitCount() const { return m_hits.size(); }

private:
    QByteArray RenderCsv() const;
    QByteArray RenderJson() const;
    QByteArray RenderBookmarks() const;

    QString m_strName;
    QDateTime m_retrieved;
    QList<CTrawlexHit> m_hits;
};

#include "export/CResultsExporter.h"

#include "query/CTrawlexQueryResults.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"
#include "store/CStoredQueryResults.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

// A spreadsheet takes a cell that starts with one of these for a formula; hit texts come
// from web pages, so such a cell is made plain text with a leading apostrophe.
bool startsLikeFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case '=': case '+': case '-': case '@': case '\t': case '\r':
        return true;
    default:
        return false;
    }
}

void appendCsvField(QString &out, const QString &field)
{
    const QString text = startsLikeFormula(field) ? QLatin1Char('\'') + field : field;
    bool quote = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out += text;
        return;
    }
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    out += QLatin1Char('"');
}

// Text and attribute values alike; line breaks become references so that every bookmark
// stays on one line, which line-by-line importers need.
QString htmlText(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\r'), QLatin1String("&#13;"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    return escaped;
}

QString isoDate(const QDateTime &when)
{
    // The offset is written out, so the date means the same moment anywhere.
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

CResultsExporter::CResultsExporter(const QString &queryName, const QDateTime &retrieved,
                                   const CTrawlexQueryResults &results)
    : m_strName(queryName)
    , m_retrieved(retrieved)
    , m_hits(results.Hits())
{
}

std::optional<CResultsExporter> CResultsExporter::FromStoredQuery(CTrawlexDoc &doc, int qid)
{
    const QList<CMainQueryTable::Row> rows = doc.MainQueries().allQueries();
    for (const CMainQueryTable::Row &row : rows) {
        if (row.qid != qid)
            continue;
        CTrawlexQueryResults results;
        CStoredQueryResults(doc).load(results, qid);
        return CResultsExporter(row.name, row.retrieved, results);
    }
    return std::nullopt;
}

std::optional<CResultsExporter::Format> CResultsExporter::FormatFromName(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("csv"))
        return Format::Csv;
    if (n == QLatin1String("json"))
        return Format::Json;
    if (n == QLatin1String("bookmarks"))
        return Format::Bookmarks;
    return std::nullopt;
}

QString CResultsExporter::FileSuffix(Format format)
{
    switch (format) {
    case Format::Csv: return QStringLiteral("csv");
    case Format::Json: return QStringLiteral("json");
    case Format::Bookmarks: return QStringLiteral("html");
    }
    return QString();
}

QString CResultsExporter::WithSuffix(const QString &path, Format format)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + FileSuffix(format);
}

QByteArray CResultsExporter::Render(Format format) const
{
    switch (format) {
    case Format::Csv: return RenderCsv();
    case Format::Json: return RenderJson();
    case Format::Bookmarks: return RenderBookmarks();
    }
    return QByteArray();
}

QByteArray CResultsExporter::RenderCsv() const
{
    const QLatin1String crlf("\r\n");
    QString out;
    // Spreadsheet programs read a CSV file without a byte order mark in the local 8-bit
    // code page, which garbles every non-ASCII letter; with it they read UTF-8.
    out += QChar(0xFEFF);
    out += QLatin1String("title,url,summary,new,engines") + crlf;
    for (const CTrawlexHit &hit : m_hits) {
        appendCsvField(out, hit.title);
        out += QLatin1Char(',');
        appendCsvField(out, hit.url);
        out += QLatin1Char(',');
        appendCsvField(out, hit.summary);
        out += hit.isNew ? QLatin1String(",1,") : QLatin1String(",0,");
        appendCsvField(out, hit.engines.join(QLatin1String("; ")));
        out += crlf;
    }
    return out.toUtf8();
}

QByteArray CResultsExporter::RenderJson() const
{
    QJsonArray hits;
    for (const CTrawlexHit &hit : m_hits) {
        hits.append(QJsonObject{{QStringLiteral("title"), hit.title},
                                {QStringLiteral("url"), hit.url},
                                {QStringLiteral("summary"), hit.summary},
                                {QStringLiteral("new"), hit.isNew},
                                {QStringLiteral("engines"), QJsonArray::fromStringList(hit.engines)}});
    }
    QJsonObject root{{QStringLiteral("query"), m_strName}, {QStringLiteral("hits"), hits}};
    root.insert(QStringLiteral("retrieved"), m_retrieved.isValid() ? QJsonValue(isoDate(m_retrieved)) : QJsonValue());
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray CResultsExporter::RenderBookmarks() const
{
    const QString added = m_retrieved.isValid()
        ? QStringLiteral(" ADD_DATE=\"%1\"").arg(m_retrieved.toSecsSinceEpoch())
        : QString();
    QString out = QStringLiteral(
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n"
        "<DL><p>\n");
    out += QStringLiteral("    <DT><H3%1>%2</H3>\n    <DL><p>\n").arg(added, htmlText(m_strName));
    for (const CTrawlexHit &hit : m_hits) {
        // A bookmark without a name would show as a blank line in the browser's menu.
        const QString &title = hit.title.isEmpty() ? hit.url : hit.title;
        out += QLatin1String("        <DT><A HREF=\"") + htmlText(hit.url) + QLatin1Char('"') + added
            + QLatin1Char('>') + htmlText(title) + QLatin1String("</A>\n");
        if (!hit.summary.isEmpty())
            out += QLatin1String("        <DD>") + htmlText(hit.summary) + QLatin1Char('\n');
    }
    out += QLatin1String("    </DL><p>\n</DL><p>\n");
    return out.toUtf8();
}

bool CResultsExporter::WriteFile(const QString &path, Format format, QString &error) const
{
    const QByteArray bytes = Render(format);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = QStringLiteral("Error!  Could not write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
    file.cancelWriting();
    return false;
}

#pragma once

#include "SimDocument.h"

#include <QList>
#include <QString>

class QueryExpression;

// The pages the stand-in engines search: generated from a seed, or read
// from a file of JSON lines.
class Corpus final
{
public:
    static constexpr int kDefaultSize = 2400;
    static constexpr quint32 kDefaultSeed = 1997;

    // Builds count pages deterministically from seed.
    static Corpus generate(int count = kDefaultSize, quint32 seed = kDefaultSeed);

    // One JSON object per line: "title", "url", "summary", optional "category"
    // and "links" (array of addresses). Empty lines and lines starting with "#"
    // are skipped. Returns false and sets error on a malformed line.
    bool loadJsonLines(const QString &path, QString *error);

    struct Hit
    {
        int index; // into documents()
        int score;
    };
    // Every page the expression matches, best first; equal scores keep corpus order.
    QList<Hit> search(const QueryExpression &expression) const;

    void add(SimDocument doc);
    const QList<SimDocument> &documents() const { return m_documents; }
    int size() const { return int(m_documents.size()); }

    // Lower-cased words of a text, split at anything not a letter or digit.
    static QStringList words(const QString &text);
    static QString hostOf(const QString &url);
    // The number of a lower-case word in the vocabulary of every corpus in this
    // process; -1 for a word no page contains when create is false.
    static int wordId(const QString &word, bool create = false);

private:
    QList<SimDocument> m_documents;
};

#pragma once

#include "retrieval/engines/EngineHit.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

class CTrawlexQuery;

// The user's query applied to the hits of today's engines, whatever the engine made of the
// operators it was sent: a hit that contains an excluded word, or fails a title or address
// filter, is dropped. Letter case is ignored; words match whole, filters anywhere in the
// title or address (as intitle: and inurl: do).
//
// Included words are not checked: engines match stems, synonyms and the text of the whole
// page, which the hit's few lines do not show. Link filters cannot be checked from a hit.
class WebHitFilter final
{
public:
    explicit WebHitFilter(const CTrawlexQuery &query);

    bool accepts(const EngineHit &hit) const;

private:
    QList<QRegularExpression> m_excluded; // excluded keywords, and excluded members of included groups
    QStringList m_titleMust;
    QStringList m_titleMustNot;
    QStringList m_urlMust;
    QStringList m_urlMustNot;
};

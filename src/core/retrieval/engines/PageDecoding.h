#pragma once

#include "EngineHit.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// Turns the bytes cut out of a result page into text. A page is read as UTF-8 when it says
// so, in its Content-Type header or in a meta charset; otherwise as Windows-1252, which is
// what the engines of the time sent and what the program always assumed.
class PageDecoding final
{
public:
    // Looks at the page's header and head for a declared character set.
    explicit PageDecoding(QByteArrayView page);

    // The text of a field; its CR LF line ends become LF.
    QString decode(QByteArrayView bytes) const;
    // A hit made of three cut-out fields, each decoded once.
    EngineHit hit(QByteArrayView title, QByteArrayView url, QByteArrayView summary) const;

private:
    bool m_utf8 = false;
    mutable QStringDecoder m_windows1252;
};

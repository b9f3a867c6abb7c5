#pragma once

#include <QByteArray>
#include <QString>

// Byte and text conversions an engine of the time needed: form decoding of a
// query string, HTML escaping, and the page charset.
namespace WebText {

// Percent-decodes a form value ("+" is a blank) and reads the bytes as UTF-8,
// falling back to Windows-1252 when they are not valid UTF-8.
QString decodeFormValue(QByteArrayView value);

// Writes text back as a form value: letters and digits as they are, blanks
// as "+", everything else (in UTF-8) as %XX.
QByteArray encodeFormValue(const QString &text);

// Escapes &, <, > and the double quote for use inside a page.
QString escapeHtml(const QString &text);

// Encodes page text for the charset the server declares. Windows-1252
// characters are written as bytes; anything else as a numeric character reference.
QByteArray encodePage(const QString &text, bool utf8);

QString decodeWindows1252(QByteArrayView bytes);

} // namespace WebText

#pragma once

#include <QString>
#include <QStringView>

// Turns the titles and summaries of feeds into the plain text a hit shows. Feeds carry HTML
// (escaped inside RSS descriptions, typed "html" in Atom, or just present in JSON fields);
// nothing of it may reach the views as markup.
//
// Every function runs in one pass over its input: a title of hostile length costs time in
// proportion to its length and nothing more.
class MarkupText final
{
public:
    MarkupText() = delete;

    // HTML to plain text: tags removed (block tags leave a blank so words do not run
    // together), the content of <script> and <style> dropped, comments dropped, CDATA
    // sections kept as text, character references decoded, white space collapsed.
    // A "<" that cannot start a tag ("a < b") stays as text.
    static QString fromHtml(QStringView html);

    // Text that is not markup: only white space is trimmed and collapsed, and control
    // characters are dropped.
    static QString fromPlain(QStringView text);

    // The character a named HTML entity stands for ("amp" -> "&"), empty when unknown.
    static QStringView namedEntity(QStringView name);
};

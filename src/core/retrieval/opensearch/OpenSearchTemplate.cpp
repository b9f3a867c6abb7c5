#include "OpenSearchTemplate.h"

#include "HitAddress.h"

#include <QStringEncoder>

#include <algorithm>

namespace {

enum class Encoding {
    Address, // blank as %20
    Form,    // application/x-www-form-urlencoded: blank as "+"
};

bool isUtf8(QStringView name)
{
    return name.compare(u"UTF-8", Qt::CaseInsensitive) == 0 || name.compare(u"UTF8", Qt::CaseInsensitive) == 0;
}

// The encoding the search terms are sent in: the description's, when Qt knows it.
QString usableEncoding(const QString &wanted)
{
    if (wanted.isEmpty() || isUtf8(wanted))
        return QStringLiteral("UTF-8");
    const QStringEncoder encoder(wanted.toLatin1().constData());
    return encoder.isValid() ? wanted : QStringLiteral("UTF-8");
}

QByteArray encoded(QStringView raw, const QString &encoding, Encoding form)
{
    QByteArray bytes;
    if (isUtf8(encoding)) {
        bytes = raw.toUtf8();
    } else {
        QStringEncoder encoder(encoding.toLatin1().constData());
        bytes = encoder.encode(raw);
    }
    // Everything but the unreserved characters is encoded, "+" and "&" included, so a
    // term never changes the address's structure.
    QByteArray out = bytes.toPercentEncoding();
    if (form == Encoding::Form)
        out.replace("%20", "+");
    return out;
}

QString valueOf(QStringView name, bool optional, const OpenSearchUrl &url, const OpenSearchTemplate::Values &values,
                const QString &encoding)
{
    const qint64 page = std::max(values.page, 1);
    const qint64 count = std::max(values.count, 1);
    if (name == u"searchTerms")
        return values.searchTerms;
    if (name == u"startIndex")
        return QString::number(url.indexOffset + (page - 1) * count);
    if (name == u"startPage")
        return QString::number(url.pageOffset + (page - 1));
    if (name == u"count")
        return QString::number(count);
    if (name == u"language")
        return !values.language.isEmpty() ? values.language : optional ? QString() : QStringLiteral("*");
    if (name == u"inputEncoding")
        return encoding;
    if (name == u"outputEncoding")
        return values.outputEncoding.isEmpty() ? QStringLiteral("UTF-8") : values.outputEncoding;
    return {}; // unknown or namespaced: nothing Trawlex could say
}

// A parameter is a name, perhaps with a namespace prefix: "searchTerms", "geo:box".
bool isParameterName(QStringView name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (!c.isLetterOrNumber() && c != u'_' && c != u'-' && c != u'.' && c != u':')
            return false;
    return true;
}

// Walks `text`, copying the literal parts and calling `value` for every {parameter}.
template<typename Append>
QString fill(QStringView text, Append value)
{
    QString out;
    out.reserve(text.size() + 32);
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'{') {
            out += text[i++];
            continue;
        }
        const qsizetype close = text.indexOf(u'}', i + 1);
        const qsizetype nextOpen = text.indexOf(u'{', i + 1);
        if (close < 0 || (nextOpen >= 0 && nextOpen < close)) {
            out += text[i++]; // a brace that opens no parameter stays as written
            continue;
        }
        QStringView name = text.sliced(i + 1, close - i - 1);
        const bool optional = name.endsWith(u'?');
        if (optional)
            name.chop(1);
        if (!isParameterName(name)) {
            out += text[i++];
            continue;
        }
        out += value(name, optional);
        i = close + 1;
    }
    return out;
}

} // namespace

QString OpenSearchTemplate::substitute(QStringView text, const OpenSearchUrl &url, const Values &values)
{
    const QString encoding = usableEncoding(values.inputEncoding);
    return fill(text, [&](QStringView name, bool optional) { return valueOf(name, optional, url, values, encoding); });
}

std::optional<SearchRequest> OpenSearchTemplate::expand(const OpenSearchUrl &url, const Values &values, QString *error)
{
    const QString encoding = usableEncoding(values.inputEncoding);
    QString address = fill(url.templateText, [&](QStringView name, bool optional) {
        return QString::fromLatin1(encoded(valueOf(name, optional, url, values, encoding), encoding, Encoding::Address));
    });

    const Encoding paramEncoding = url.isPost() ? Encoding::Form : Encoding::Address;
    QByteArray pairs;
    for (const OpenSearchUrl::Param &param : url.params) {
        if (!pairs.isEmpty())
            pairs += '&';
        pairs += encoded(param.name, encoding, paramEncoding);
        pairs += '=';
        pairs += encoded(substitute(param.value, url, values), encoding, paramEncoding);
    }

    SearchRequest request;
    if (url.isPost()) {
        request.method = "POST";
        request.body = pairs;
        request.contentType = "application/x-www-form-urlencoded";
    } else if (!pairs.isEmpty()) {
        const qsizetype hash = address.indexOf(u'#');
        const QString fragment = hash < 0 ? QString() : address.sliced(hash);
        if (hash >= 0)
            address.truncate(hash);
        if (!address.contains(u'?'))
            address += u'?';
        else if (!address.endsWith(u'?') && !address.endsWith(u'&'))
            address += u'&';
        address += QString::fromLatin1(pairs) + fragment;
    }
    request.url = QUrl(address, QUrl::TolerantMode);
    if (!HitAddress::isWebAddress(request.url)) {
        if (error)
            *error = QStringLiteral("The filled-in address is not a valid http or https address: %1").arg(address);
        return std::nullopt;
    }
    if (error)
        error->clear();
    return request;
}

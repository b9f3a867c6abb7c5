#include "CVersionReply.h"

#include <QByteArray>

#include <cctype>
#include <charconv>

CVersionReply::CVersionReply(const QString &reply, const QString &ownVersionText)
{
    const qsizetype first = reply.indexOf(u'#');
    if (first < 0)
        return;
    const qsizetype second = reply.indexOf(u'#', first + 1);
    const QString current = second < 0 ? reply.mid(first + 1) : reply.mid(first + 1, second - first - 1);
    if (second >= 0) {
        const qsizetype third = reply.indexOf(u'#', second + 1);
        m_strFeatures = third < 0 ? reply.mid(second + 1) : reply.mid(second + 1, third - second - 1);
    }
    m_dCurrentVersion = LeadingNumber(current);
    const qsizetype blank = ownVersionText.indexOf(u' ');
    m_dOwnVersion = LeadingNumber(blank < 0 ? QString() : ownVersionText.mid(blank + 1));
    m_outcome = m_dOwnVersion < m_dCurrentVersion ? Outcome::Newer : Outcome::Current;
}

QString CVersionReply::OwnVersionText()
{
    return QStringLiteral("Version 1.12");
}

QString CVersionReply::FormatVersion(double version)
{
    QString text = QString::asprintf("%.2f", version);
    if (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

double CVersionReply::LeadingNumber(const QString &text)
{
    // Read as strtod would, but always with the "C" decimal point: the file is written that way.
    const QByteArray bytes = text.toLatin1();
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    while (p < end && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    double value = 0;
    const auto [last, ec] = std::from_chars(p, end, value);
    if (ec != std::errc() || last == p)
        return 0.0;
    return negative ? -value : value;
}

QString CVersionReply::versionsLine() const
{
    return QStringLiteral("Your version is %1.  The current version is %2.")
        .arg(FormatVersion(m_dOwnVersion), FormatVersion(m_dCurrentVersion));
}

QString CVersionReply::featuresLine() const
{
    return QStringLiteral("The new version features %1.").arg(m_strFeatures);
}

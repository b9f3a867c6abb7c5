#pragma once

#include <QString>

// What the maker's version file says, read the way the program always read it:
// "#" current version "#" features "#", and the end mark "@" somewhere after.
class CVersionReply final
{
public:
    enum class Outcome {
        Unreadable, // no "#": nothing is reported
        Current,    // our version is not older
        Newer,      // the server offers a newer release
    };

    explicit CVersionReply(const QString &reply, const QString &ownVersionText = OwnVersionText());

    Outcome outcome() const { return m_outcome; }
    double ownVersion() const { return m_dOwnVersion; }
    double currentVersion() const { return m_dCurrentVersion; }
    QString features() const { return m_strFeatures; }

    // "Version 1.12": names the settings group too.
    static QString OwnVersionText();
    // "%.2f" with one final "0" removed: 1.20 -> "1.2", 2.00 -> "2.0".
    static QString FormatVersion(double version);
    // The leading number of the text as the C run-time reads it; 0 when there is none.
    static double LeadingNumber(const QString &text);

    // The "New Version Found" dialog's two lines.
    QString versionsLine() const;
    QString featuresLine() const;

private:
    Outcome m_outcome = Outcome::Unreadable;
    double m_dOwnVersion = 0;
    double m_dCurrentVersion = 0;
    QString m_strFeatures;
};

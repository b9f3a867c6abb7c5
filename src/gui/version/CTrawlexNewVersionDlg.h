#pragma once

#include <QDialog>
#include <QString>

class QLabel;

// "New Version Found": our version against the server's, what the new one brings, and the way
// to the download page (OK) or back (Cancel).
class CTrawlexNewVersionDlg final : public QDialog
{
    Q_OBJECT
public:
    CTrawlexNewVersionDlg(double ownVersion, double currentVersion, const QString &features,
                          QWidget *parent = nullptr);

    QString m_strFeaturesLine; // control 1044
    QString m_strVersionsLine; // control 1042
    double m_dOwnVersion;
    double m_dCurrentVersion;
    QString m_strFeatures;

private:
    QLabel *m_pVersionsLine = nullptr;
    QLabel *m_pFeaturesLine = nullptr;
};

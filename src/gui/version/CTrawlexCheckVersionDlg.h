#pragma once

#include <QDialog>

// "Check New Version": shown modally while the check runs. Cancel gives up the check; the
// arriving result ends it with done(kEndedByResult).
class CTrawlexCheckVersionDlg final : public QDialog
{
    Q_OBJECT
public:
    // Distinct from Rejected (0), so a result is never taken for Cancel.
    static constexpr int kEndedByResult = 3;

    explicit CTrawlexCheckVersionDlg(QWidget *parent = nullptr);
};

#pragma once

#include <QDialog>

class QPlainTextEdit;

// "View Source": the query's boolean text, read-only, on white.
class CViewSourceDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CViewSourceDlg(const QString &booleanText, QWidget *parent = nullptr);

    // The text as shown (line ends as the edit shows them).
    QString text() const;
    QPlainTextEdit *textEdit() const { return m_pEdit; }

private:
    QPlainTextEdit *m_pEdit;
};

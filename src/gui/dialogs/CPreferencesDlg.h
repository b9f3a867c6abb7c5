#pragma once

#include <QDialog>

class IUserPrompt;
class QLineEdit;

// The Preferences dialog: the three numbers as text fields. OK takes them only when each is a
// plain unsigned number; otherwise "Please enter a positive integer." and the dialog stays open
// on that field. The ranges are the command's business, not the dialog's.
class CPreferencesDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CPreferencesDlg(IUserPrompt &prompt, QWidget *parent = nullptr);

    // Exchanged with the fields: loaded into them when the dialog is shown, read back on OK.
    unsigned m_nMaxConns = 0;
    unsigned m_nMaxDelay = 0;
    unsigned m_nMaxDays = 0;

    QLineEdit *maxConnsEdit() const { return m_pMaxConns; }
    QLineEdit *maxDelayEdit() const { return m_pMaxDelay; }
    QLineEdit *maxDaysEdit() const { return m_pMaxDays; }

    // The text of an unsigned field as the program always read it: blanks around digits,
    // nothing else, and no more than fits in 32 bits.
    static bool ParseUnsigned(const QString &text, unsigned &value);

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool readField(QLineEdit *edit, unsigned &value);

    IUserPrompt &m_prompt;
    QLineEdit *m_pMaxConns = nullptr;
    QLineEdit *m_pMaxDelay = nullptr;
    QLineEdit *m_pMaxDays = nullptr;
};

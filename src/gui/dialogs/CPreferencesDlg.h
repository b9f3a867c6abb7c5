#pragma once

#include <QDialog>
#include <QStringList>

class IUserPrompt;
class QCheckBox;
class QLineEdit;
class QListWidget;

// The Preferences dialog: the three numbers as text fields. OK takes them only when each is a
// plain unsigned number; otherwise "Please enter a positive integer." and the dialog stays open
// on that field. The ranges are the command's business, not the dialog's. Below them, the
// engines of the search field: those of the last query run, or the user's own choice.
class CPreferencesDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CPreferencesDlg(IUserPrompt &prompt, QWidget *parent = nullptr);

    // Exchanged with the fields: loaded into them when the dialog is shown, read back on OK.
    unsigned m_nMaxConns = 0;
    unsigned m_nMaxDelay = 0;
    unsigned m_nMaxDays = 0;
    // The search field's engines, and whether they are the user's choice.
    QStringList m_searchEngines;
    bool m_bSearchEnginesChosen = false;

    QLineEdit *maxConnsEdit() const { return m_pMaxConns; }
    QLineEdit *maxDelayEdit() const { return m_pMaxDelay; }
    QLineEdit *maxDaysEdit() const { return m_pMaxDays; }
    QCheckBox *lastRunEnginesBox() const { return m_pLastRunEngines; }
    // One checkable item per engine that can be asked, its text the engine's name.
    QListWidget *searchEngineList() const { return m_pSearchEngines; }

    // The text of an unsigned field as the program always read it: blanks around digits,
    // nothing else, and no more than fits in 32 bits.
    static bool ParseUnsigned(const QString &text, unsigned &value);

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool readField(QLineEdit *edit, unsigned &value);
    QStringList checkedEngines() const;

    IUserPrompt &m_prompt;
    QLineEdit *m_pMaxConns = nullptr;
    QLineEdit *m_pMaxDelay = nullptr;
    QLineEdit *m_pMaxDays = nullptr;
    QCheckBox *m_pLastRunEngines = nullptr;
    QListWidget *m_pSearchEngines = nullptr;
};

#pragma once

#include <QWidget>

class CTypedCharacterFilter;
class IUserPrompt;
class QLineEdit;
class QListWidget;

// What the five query pages share: their title, the typed-character filter and the message
// boxes, which go through IUserPrompt so tests can answer them.
class CTrawlexPropertyPage : public QWidget
{
    Q_OBJECT
public:
    CTrawlexPropertyPage(int templateId, const QString &title, const QString &refusedCharacters,
                         QWidget *parent);

    int templateId() const { return m_nTemplateId; }
    const QString &title() const { return m_strTitle; }

    void setUserPrompt(IUserPrompt *prompt) { m_pPrompt = prompt; }
    IUserPrompt *userPrompt() const { return m_pPrompt; }

protected:
    // Call once the page's controls exist: every one of them gets the character filter.
    void installCharacterFilter();
    void MessageBox(const QString &text) const;
    // The selected row of list, or -1 once the user is told to set (edit empty) or add the
    // keyword first.
    int SelectedKeywordRow(const QListWidget *list, const QLineEdit *edit) const;

private:
    int m_nTemplateId;
    QString m_strTitle;
    CTypedCharacterFilter *m_pFilter;
    IUserPrompt *m_pPrompt = nullptr;
};

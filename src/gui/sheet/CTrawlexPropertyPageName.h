#pragma once

#include "sheet/CTrawlexPropertyPage.h"

class QLineEdit;
class QPushButton;

// Page "Name": the query's name and the "View Source" button.
class CTrawlexPropertyPageName final : public CTrawlexPropertyPage
{
    Q_OBJECT
public:
    explicit CTrawlexPropertyPageName(QWidget *parent = nullptr);

    QLineEdit *nameEdit() const { return m_pEditName; }
    QPushButton *viewSourceButton() const { return m_pViewSource; }

    // The name as typed (not trimmed): the validation's first rule reads it so.
    const QString &name() const { return m_strName; }
    void setName(const QString &name);

signals:
    void viewSourceRequested();

private:
    QLineEdit *m_pEditName;
    QPushButton *m_pViewSource;
    QString m_strName;
};

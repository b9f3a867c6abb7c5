#pragma once

#include "retrieval/web/EngineDefinition.h"

#include <QDialog>

class CEngineForm;
class CTrawlexDatabase;
class IUserPrompt;
class QLabel;
class QPushButton;

// Changing an added engine: its definition in the review form. OK stores it (a new name
// follows into the stored queries); a refusal is shown in the dialog, which stays open.
class CEngineEditDlg final : public QDialog
{
    Q_OBJECT
public:
    CEngineEditDlg(CTrawlexDatabase &db, IUserPrompt &prompt, const EngineDefinition &definition,
                   QWidget *parent = nullptr);

    CEngineForm *form() const { return m_pForm; }
    QLabel *messageLabel() const { return m_pMessage; }
    QPushButton *okButton() const { return m_pOk; }

    void accept() override;

private:
    CTrawlexDatabase &m_db;
    IUserPrompt &m_prompt;
    QString m_strName;
    CEngineForm *m_pForm;
    QLabel *m_pMessage;
    QPushButton *m_pOk = nullptr;
};

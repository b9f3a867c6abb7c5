#pragma once

#include "retrieval/web/EngineDefinition.h"

#include <QDialog>

#include <optional>

class CEngineAddressLookup;
class CEngineForm;
class CTrawlexDatabase;
class IUserPrompt;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTabWidget;

// Adding an engine in two steps: where it comes from (an address, a description file or a
// results template), then its definition for review. OK adds it; a refusal is shown in the
// dialog, which stays open. Nothing is added on Cancel or on an error.
class CEngineAddDlg final : public QDialog
{
    Q_OBJECT
public:
    CEngineAddDlg(CTrawlexDatabase &db, IUserPrompt &prompt, QWidget *parent = nullptr);
    ~CEngineAddDlg() override;

    enum Source { ByAddress, FromFile, ByTemplate };

    QTabWidget *sources() const { return m_pSources; }
    QLineEdit *addressEdit() const { return m_pAddress; }
    QCheckBox *instanceBox() const { return m_pInstance; }
    QLineEdit *fileEdit() const { return m_pFile; }
    QPushButton *chooseFileButton() const { return m_pChooseFile; }
    QLineEdit *templateEdit() const { return m_pTemplate; }
    QComboBox *templateFormat() const { return m_pTemplateFormat; }
    QLineEdit *templateMapping(int field) const { return m_templateMapping[field]; }
    CEngineForm *form() const { return m_pForm; }
    QLabel *messageLabel() const { return m_pMessage; }
    QProgressBar *progressBar() const { return m_pProgress; }
    QPushButton *stopButton() const { return m_pStop; }
    QPushButton *nextButton() const { return m_pNext; }
    QPushButton *backButton() const { return m_pBack; }
    QPushButton *okButton() const { return m_pOk; }
    QPushButton *cancelButton() const { return m_pCancel; }

    bool isReviewing() const;
    bool isFetching() const;
    // The engine added by OK, once the dialog is accepted.
    const std::optional<EngineDefinition> &added() const { return m_added; }

    // Reads the chosen source: a definition to review, or the reason in the message line.
    void OnNext();
    void OnBack();
    void OnStop();
    void OnChooseFile();
    void accept() override;
    void reject() override;

private:
    QWidget *createAddressPage();
    QWidget *createFilePage();
    QWidget *createTemplatePage();
    void readFile();
    void readTemplate();
    void onLookedUp(const std::optional<EngineDefinition> &definition, const QString &error);
    void review(const EngineDefinition &definition);
    void showError(const QString &text);
    void setFetching(bool fetching, const QString &text = QString());
    void updateButtons();

    CTrawlexDatabase &m_db;
    IUserPrompt &m_prompt;
    CEngineAddressLookup *m_pLookup;
    QStackedWidget *m_pStack;
    QTabWidget *m_pSources;
    QLineEdit *m_pAddress = nullptr;
    QCheckBox *m_pInstance = nullptr;
    QLineEdit *m_pFile = nullptr;
    QPushButton *m_pChooseFile = nullptr;
    QLineEdit *m_pTemplate = nullptr;
    QComboBox *m_pTemplateFormat = nullptr;
    QWidget *m_pTemplateMappingBox = nullptr;
    QLineEdit *m_templateMapping[4] = {};
    CEngineForm *m_pForm;
    QLabel *m_pMessage;
    QProgressBar *m_pProgress;
    QPushButton *m_pStop;
    QPushButton *m_pNext;
    QPushButton *m_pBack;
    QPushButton *m_pOk;
    QPushButton *m_pCancel;
    std::optional<EngineDefinition> m_added;
};

#pragma once

#include "run/CEngineTest.h"

#include <QDialog>

class CQueryCommands;
class CTrawlexDoc;
class IUserPrompt;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The engines a query can ask: the built-in ones (greyed, they cannot be changed) and the
// ones the user added, which can be added, edited and removed here. Any engine can be tried
// with a one-word search that shows what it found and how long it took.
class CEnginesDlg final : public QDialog
{
    Q_OBJECT
public:
    CEnginesDlg(CTrawlexDoc &doc, CQueryCommands &commands, IUserPrompt &prompt, QWidget *parent = nullptr);
    ~CEnginesDlg() override;

    enum Column { NameColumn, KindColumn, AddressColumn };

    QTreeWidget *engineList() const { return m_pList; }
    QPushButton *addButton() const { return m_pAdd; }
    QPushButton *editButton() const { return m_pEdit; }
    QPushButton *removeButton() const { return m_pRemove; }
    QPushButton *testButton() const { return m_pTest; }
    QLineEdit *testWordEdit() const { return m_pTestWord; }
    QLabel *testResultLabel() const { return m_pTestResult; }
    QTreeWidget *testHits() const { return m_pHits; }
    bool isTesting() const { return m_engineTest.isRunning(); }

    // The engine selected in the list, or empty.
    QString selectedEngine() const;
    bool selectEngine(const QString &name);
    // The names in the list, top to bottom.
    QStringList listedEngines() const;

    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnTest();

    // How many hits a test lists.
    static constexpr int kShownHits = 20;
    // The address column of an added engine: host (with its port) and path of its template.
    static QString shownAddress(const QString &templateText);

    void done(int result) override;

Q_SIGNALS:
    // The dialog that OnAdd or OnEdit is about to show (tests drive it).
    void engineDialogShown(QDialog *dialog);

private:
    void fillList(const QString &select = QString());
    void updateButtons();
    bool selectedIsBuiltIn() const;
    void onTestFinished(const CEngineTest::Outcome &outcome);
    // After a change: the engine address list follows the table.
    void reloadAddressList();

    CTrawlexDoc &m_doc;
    CQueryCommands &m_commands;
    IUserPrompt &m_prompt;
    CEngineTest m_engineTest;
    QTreeWidget *m_pList;
    QPushButton *m_pAdd;
    QPushButton *m_pEdit;
    QPushButton *m_pRemove;
    QLineEdit *m_pTestWord;
    QPushButton *m_pTest;
    QLabel *m_pTestResult;
    QTreeWidget *m_pHits;
};

#pragma once

#include <QDialog>

class CQueryCommands;
class CQuerySheetEntries;
class CTrawlexPropertyPageFilters;
class CTrawlexPropertyPageGroups;
class CTrawlexPropertyPageKeywords;
class CTrawlexPropertyPageName;
class CTrawlexPropertyPageWhere;
class CTrawlexQuery;
class IUserPrompt;
class QDialogButtonBox;
class QTabWidget;

// "Set Up Query": the five pages in which a query is defined. OK commits: the entries are
// validated (each refusal keeps the sheet open with everything in it), then replace the
// target query and the sheet closes. Cancel leaves the target untouched.
class CTrawlexPropertySheetQuery final : public QDialog
{
    Q_OBJECT
public:
    explicit CTrawlexPropertySheetQuery(QWidget *parent = nullptr);
    ~CTrawlexPropertySheetQuery() override;

    CTrawlexPropertyPageName &namePage() const { return *m_pName; }
    CTrawlexPropertyPageKeywords &keywordsPage() const { return *m_pKeywords; }
    CTrawlexPropertyPageGroups &groupsPage() const { return *m_pGroups; }
    CTrawlexPropertyPageFilters &filtersPage() const { return *m_pFilters; }
    CTrawlexPropertyPageWhere &wherePage() const { return *m_pWhere; }
    QTabWidget *tabs() const { return m_pTabs; }
    QDialogButtonBox *buttons() const { return m_pButtons; }

    void setUserPrompt(IUserPrompt *prompt);
    // The commit goes through the commands, which validate and take the query over.
    void setCommands(CQueryCommands *commands) { m_pCommands = commands; }

    // The entries of all pages, as the query reader takes them.
    CQuerySheetEntries Entries() const;

    // Empties every page.
    void ResetPages();
    // Shows query in the pages (the sheet opening on a stored query).
    void FillFromQuery(const CTrawlexQuery &query);
    // Fills from query, opens on the first page and runs modally; QDialog::Accepted on a commit.
    int DoModal(const CTrawlexQuery &query);

    // The commit behind OK; false keeps the sheet open.
    bool OnApply();
    void OnViewSource();

    void accept() override;

signals:
    // The "View Source" dialog is about to run (tests look at it here).
    void viewSourceShown(QDialog *dialog);

private:
    CTrawlexPropertyPageName *m_pName;
    CTrawlexPropertyPageKeywords *m_pKeywords;
    CTrawlexPropertyPageGroups *m_pGroups;
    CTrawlexPropertyPageWhere *m_pWhere;
    CTrawlexPropertyPageFilters *m_pFilters;
    QTabWidget *m_pTabs;
    QDialogButtonBox *m_pButtons;
    IUserPrompt *m_pPrompt = nullptr;
    CQueryCommands *m_pCommands = nullptr;
};

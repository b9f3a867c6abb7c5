#pragma once

#include "QueryTreeItem.h"
#include "TrawlexIds.h"

#include "views/CQueryTreeModel.h"

#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

class CQueryCommands;
class CTrawlexQueryResultsView;
class QTreeWidgetItem;

// The tree of stored queries: by name, or grouped by site, keyword or month and day of
// retrieval. Groups read their children from the database when they are opened and forget
// them when closed. Selecting a query loads it and shows its first results page, except
// while a run is delivering hits for the query on show.
class CTrawlexQueryView final : public QTreeWidget
{
    Q_OBJECT

public:
    // Posted by the main frame once it is built: fill by name and select the first query.
    static constexpr QEvent::Type kInitialiseEvent = QEvent::Type(QEvent::User + 4);
    // Sent after a completed run: show the name arrangement with the newest query selected.
    static constexpr QEvent::Type kShowNewestEvent = QEvent::Type(QEvent::User + 5);

    // Item images, by index: keyword, month or day, site, query, selected query.
    enum Image { ImageKeyword = 0, ImageTime = 1, ImageSite = 2, ImageQuery = 3, ImageQuerySelected = 4 };

    explicit CTrawlexQueryView(QWidget *parent = nullptr);
    ~CTrawlexQueryView() override;

    // What selecting and deleting a query carry out; it must outlive the view.
    void setCommands(CQueryCommands *commands) { m_pCommands = commands; }
    void setResultsView(CTrawlexQueryResultsView *view) { m_pResultsView = view; }
    // Where the nodes come from; without one the tree stays empty. It must outlive the view.
    void setTreeModel(CQueryTreeModel *model);

    // Builds the top level of an arrangement into the (emptied) tree.
    void Fill(int nView);
    // Inserts the children of a group item; returns how many.
    int FillChildren(QTreeWidgetItem *item);
    // Copies the item's information into info; false when the item has none (a placeholder).
    bool GetItemInfo(QTreeWidgetItem *item, QueryTreeItem &info);

    // The switch the main frame makes for the View commands, after Delete and for the newest
    // query: remember the arrangement, empty the tree without loading anything, fill anew.
    void SwitchArrangement(int nView);
    // The selected item's QID; -1 for a group or when nothing is selected.
    int selectedQueryId();
    // The initialise and show-newest steps, as the two events run them.
    void initialiseTree();
    void showNewestQuery();
    // Deletes the selected query (its dependent rows go with it), clears the results page
    // and rebuilds the arrangement on show.
    enum class DeleteOutcome { NothingSelected, NotAQuery, Deleted, Failed };
    DeleteOutcome deleteSelectedQuery();
    // The image of an item kind.
    QIcon image(Image index) const;

    bool m_bRefilling = false;
    QueryTreeItem m_current;
    QHash<QTreeWidgetItem *, QueryTreeItem> m_items;
    int m_nViewMode = TrawlexIds::ID_VIEW_NAME;

Q_SIGNALS:
    // Asks the main frame to switch the arrangement (it also sets its label). When nobody
    // listens the view switches itself.
    void switchViewRequested(int nView);

protected:
    void customEvent(QEvent *event) override;

private:
    void OnCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void OnItemExpanded(QTreeWidgetItem *item);
    void OnItemCollapsed(QTreeWidgetItem *item);
    QTreeWidgetItem *NewItem(const QString &text, Image image);
    void AddPlaceholder(QTreeWidgetItem *group);
    void ForgetChildren(QTreeWidgetItem *item);
    void LoadImages();

    QList<QIcon> m_imageList;
    CTrawlexQueryResultsView *m_pResultsView = nullptr;
    CQueryCommands *m_pCommands = nullptr;
    CQueryTreeModel m_noTreeModel;
    CQueryTreeModel *m_pTreeModel = &m_noTreeModel;
    bool m_bExpanding = false;
};

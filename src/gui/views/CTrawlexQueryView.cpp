#include "CTrawlexQueryView.h"

#include "CTrawlexQueryResultsView.h"

#include "run/CQueryCommands.h"

#include <QBitmap>
#include <QMetaMethod>
#include <QPixmap>
#include <QTreeWidgetItem>

using namespace TrawlexIds;

// The images are compiled into this static library; make sure the linker keeps them.
static void InitTreeResources()
{
    Q_INIT_RESOURCE(trawlex_views);
}

namespace {
constexpr int kImageWidth = 16;
constexpr int kImageCount = 5;

QList<QTreeWidgetItem *> TakeDescendants(QTreeWidgetItem *item)
{
    QList<QTreeWidgetItem *> all;
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem *child = item->child(i);
        all << child << TakeDescendants(child);
    }
    return all;
}
} // namespace

CTrawlexQueryView::CTrawlexQueryView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("QueryTree"));
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(kImageWidth, 15));
    // Names too long for the pane are elided; the tool tip holds the whole text. (Sizing the
    // column to its contents would measure a thousand rows at every refill.)
    setTextElideMode(Qt::ElideRight);
    LoadImages();

    connect(this, &QTreeWidget::currentItemChanged, this, &CTrawlexQueryView::OnCurrentItemChanged);
    connect(this, &QTreeWidget::itemExpanded, this, &CTrawlexQueryView::OnItemExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &CTrawlexQueryView::OnItemCollapsed);
}

CTrawlexQueryView::~CTrawlexQueryView() = default;

void CTrawlexQueryView::LoadImages()
{
    InitTreeResources();
    // One strip of five 16-pixel images; magenta stands for transparent.
    QPixmap strip(QStringLiteral(":/trawlex/tree/tree.png"));
    m_imageList.clear();
    for (int i = 0; i < kImageCount; ++i) {
        QPixmap image = strip.isNull() ? QPixmap(kImageWidth, 15) : strip.copy(i * kImageWidth, 0, kImageWidth, 15);
        if (strip.isNull())
            image.fill(Qt::transparent);
        else
            image.setMask(image.createMaskFromColor(QColor(255, 0, 255)));
        m_imageList << QIcon(image);
    }
    // A query's image turns into the open one while it is selected.
    QIcon query;
    query.addPixmap(m_imageList[ImageQuery].pixmap(kImageWidth, 15), QIcon::Normal);
    query.addPixmap(m_imageList[ImageQuerySelected].pixmap(kImageWidth, 15), QIcon::Selected);
    m_imageList[ImageQuery] = query;
}

QIcon CTrawlexQueryView::image(Image index) const
{
    return m_imageList.value(index);
}

void CTrawlexQueryView::setTreeModel(CQueryTreeModel *model)
{
    m_pTreeModel = model ? model : &m_noTreeModel;
}

QTreeWidgetItem *CTrawlexQueryView::NewItem(const QString &text, Image image)
{
    auto *item = new QTreeWidgetItem(QStringList{text});
    item->setIcon(0, m_imageList.value(image));
    item->setToolTip(0, text);
    return item;
}

void CTrawlexQueryView::AddPlaceholder(QTreeWidgetItem *group)
{
    group->addChild(NewItem(QString(), ImageQuery));
}

void CTrawlexQueryView::Fill(int nView)
{
    m_bRefilling = false;
    m_items.clear();
    const std::optional<CQueryTreeModel::Entries> entries = m_pTreeModel->topLevel(nView);
    if (!entries)
        return;

    Image image = ImageQuery;
    switch (nView) {
    case ID_VIEW_SITE:
        image = ImageSite;
        break;
    case ID_VIEW_KEYWORD:
        image = ImageKeyword;
        break;
    case ID_VIEW_TIME:
        image = ImageTime;
        break;
    default:
        break;
    }

    QList<QTreeWidgetItem *> items;
    items.reserve(entries->size());
    m_items.reserve(entries->size());
    for (const CQueryTreeData::Entry &entry : *entries) {
        QTreeWidgetItem *item = NewItem(entry.text, image);
        if (entry.qid == -1)
            AddPlaceholder(item);
        m_items.insert(item, {nView, entry.text, entry.qid});
        items << item;
    }
    addTopLevelItems(items);
}

int CTrawlexQueryView::FillChildren(QTreeWidgetItem *item)
{
    QueryTreeItem info;
    if (!GetItemInfo(item, info))
        return 0;
    const std::optional<CQueryTreeModel::Entries> entries = m_pTreeModel->children(info.nView, info.strText);
    if (!entries)
        return 0;

    QList<QTreeWidgetItem *> children;
    for (const CQueryTreeData::Entry &entry : *entries) {
        const bool group = entry.qid == -1;
        QTreeWidgetItem *child = NewItem(entry.text, group ? ImageTime : ImageQuery);
        if (group)
            AddPlaceholder(child);
        m_items.insert(child, {info.nView, entry.text, entry.qid});
        children << child;
    }
    item->addChildren(children);
    return int(children.size());
}

bool CTrawlexQueryView::GetItemInfo(QTreeWidgetItem *item, QueryTreeItem &info)
{
    const auto it = m_items.constFind(item);
    if (!item || it == m_items.constEnd())
        return false;
    info = *it;
    m_current = *it;
    return true;
}

void CTrawlexQueryView::ForgetChildren(QTreeWidgetItem *item)
{
    // The entries go with their items, so no stale item is ever looked up.
    const QList<QTreeWidgetItem *> descendants = TakeDescendants(item);
    for (QTreeWidgetItem *d : descendants)
        m_items.remove(d);
    qDeleteAll(item->takeChildren());
}

void CTrawlexQueryView::OnItemExpanded(QTreeWidgetItem *item)
{
    if (m_bExpanding)
        return;
    QueryTreeItem info;
    if (!GetItemInfo(item, info))
        return;
    m_bExpanding = true;
    // Read anew at every opening; the placeholder goes.
    ForgetChildren(item);
    if (FillChildren(item) == 0)
        item->setExpanded(false); // nothing to show: no children, no expand button
    m_bExpanding = false;
}

void CTrawlexQueryView::OnItemCollapsed(QTreeWidgetItem *item)
{
    if (m_bExpanding || !m_items.contains(item) || item->childCount() == 0)
        return;
    m_bExpanding = true;
    ForgetChildren(item);
    AddPlaceholder(item);
    m_bExpanding = false;
}

void CTrawlexQueryView::OnCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *)
{
    // Refills and the pruning of a closed group move the selection without meaning it; a
    // run owns the query and the results until it ends.
    if (m_bRefilling || m_bExpanding || !m_pCommands || !m_pCommands->hasDatabase() || m_pCommands->isRunning())
        return;
    QueryTreeItem info;
    if (!GetItemInfo(current, info) || info.nQID == -1)
        return;

    if (!m_pCommands->showStoredQuery(info.nQID)) {
        // What was loaded may be half the query: show no page rather than a wrong one.
        if (m_pResultsView)
            m_pResultsView->DestroyPageControls();
        return;
    }
    if (m_pResultsView) {
        m_pResultsView->m_nPage = 0;
        m_pResultsView->ShowPage();
    }
}

void CTrawlexQueryView::SwitchArrangement(int nView)
{
    m_nViewMode = nView;
    m_bRefilling = true;
    clear();
    Fill(nView);
}

int CTrawlexQueryView::selectedQueryId()
{
    QueryTreeItem info;
    if (!GetItemInfo(currentItem(), info))
        return -1;
    return info.nQID;
}

void CTrawlexQueryView::initialiseTree()
{
    m_nViewMode = ID_VIEW_NAME;
    m_bRefilling = true;
    clear();
    Fill(ID_VIEW_NAME);
    if (QTreeWidgetItem *first = topLevelItem(0))
        setCurrentItem(first);
}

void CTrawlexQueryView::showNewestQuery()
{
    if (isSignalConnected(QMetaMethod::fromSignal(&CTrawlexQueryView::switchViewRequested)))
        Q_EMIT switchViewRequested(ID_VIEW_NAME);
    else
        SwitchArrangement(ID_VIEW_NAME);
    if (!m_pCommands || !m_pCommands->hasDatabase())
        return;

    const std::optional<int> newest = m_pCommands->newestQueryId();
    if (!newest || *newest == -1)
        return;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        if (it.value().nQID == *newest) {
            setCurrentItem(it.key());
            scrollToItem(it.key());
            break;
        }
    }
}

CTrawlexQueryView::DeleteOutcome CTrawlexQueryView::deleteSelectedQuery()
{
    QTreeWidgetItem *item = currentItem();
    if (!item || !m_pCommands || !m_pCommands->hasDatabase())
        return DeleteOutcome::NothingSelected;
    QueryTreeItem info;
    if (!GetItemInfo(item, info) || info.nQID == -1)
        return DeleteOutcome::NotAQuery;
    if (!m_pCommands->deleteQuery(info.nQID))
        return DeleteOutcome::Failed;
    if (m_pResultsView)
        m_pResultsView->DestroyPageControls();
    if (isSignalConnected(QMetaMethod::fromSignal(&CTrawlexQueryView::switchViewRequested)))
        Q_EMIT switchViewRequested(m_nViewMode);
    else
        SwitchArrangement(m_nViewMode);
    return DeleteOutcome::Deleted;
}

void CTrawlexQueryView::customEvent(QEvent *event)
{
    if (event->type() == kInitialiseEvent) {
        initialiseTree();
        event->accept();
    } else if (event->type() == kShowNewestEvent) {
        showNewestQuery();
        event->accept();
    } else {
        QTreeWidget::customEvent(event);
    }
}

#pragma once

#include "sheet/CTrawlexPropertyPage.h"

#include <QList>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QVBoxLayout;

// Page "Where": the search engines to ask, one box per engine of the registry in its order:
// the built-in engines, then the added ones by name. Three boxes (Open Text, WebCrawler, the
// Worm) are kept but never shown: the program still knows their names, no longer their pages.
class CTrawlexPropertyPageWhere final : public CTrawlexPropertyPage
{
    Q_OBJECT
public:
    explicit CTrawlexPropertyPageWhere(QWidget *parent = nullptr);

    // The engine names in the page's order.
    const QStringList &engineNames() const { return m_names; }
    int engineCount() const { return int(m_names.size()); }

    QCheckBox *checkBox(int index) const { return m_boxes.at(index); }
    QCheckBox *checkBox(const QString &engine) const;

    bool isSelected(int index) const;
    // The names whose boxes are ticked, in the page's order.
    QStringList selectedEngines() const;
    void setSelected(const QString &engine, bool selected);
    // Clears every box; when the registry's engines changed, the boxes are made anew first.
    void Reset();

private:
    void fillEngines();

    QGroupBox *m_pGroup = nullptr;
    QVBoxLayout *m_pGroupLayout = nullptr;
    QStringList m_names;
    QList<QCheckBox *> m_boxes;
};

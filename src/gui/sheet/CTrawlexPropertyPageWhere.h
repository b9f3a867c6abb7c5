#pragma once

#include "sheet/CTrawlexPropertyPage.h"

#include <QStringList>

#include <array>

class QCheckBox;

// Page "Where": the search engines to ask. Three boxes (Open Text, WebCrawler, the Worm) are
// kept but never shown: the program still knows their names, no longer their pages.
class CTrawlexPropertyPageWhere final : public CTrawlexPropertyPage
{
    Q_OBJECT
public:
    static constexpr int EngineCount = 10;

    explicit CTrawlexPropertyPageWhere(QWidget *parent = nullptr);

    // The engine names in the page's fixed order (AltaVista ... Worm, Yahoo).
    static const QStringList &engineNames();

    QCheckBox *checkBox(int index) const { return m_boxes[index]; }
    QCheckBox *checkBox(const QString &engine) const;

    bool isSelected(int index) const { return m_bEngines[index]; }
    // The names whose boxes are ticked, in the fixed order.
    QStringList selectedEngines() const;
    void setSelected(const QString &engine, bool selected);
    void Reset();

private:
    std::array<QCheckBox *, EngineCount> m_boxes{};
    std::array<bool, EngineCount> m_bEngines{};
};

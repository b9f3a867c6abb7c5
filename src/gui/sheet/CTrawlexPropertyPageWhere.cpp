#include "sheet/CTrawlexPropertyPageWhere.h"

#include "TrawlexIds.h"
#include "query/SheetEngines.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace TrawlexIds;

CTrawlexPropertyPageWhere::CTrawlexPropertyPageWhere(QWidget *parent)
    : CTrawlexPropertyPage(IDD_PAGE_WHERE, QStringLiteral("Where"), QStringLiteral("()'\""), parent)
{
    auto *prompt = new QLabel(QStringLiteral("Please choose which search engines to include in your search:"), this);
    prompt->setWordWrap(true);
    m_pGroup = new QGroupBox(QStringLiteral("Search Engines"), this);
    m_pGroupLayout = new QVBoxLayout(m_pGroup);
    fillEngines();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_pGroup);
    layout->addStretch(1);
    installCharacterFilter();
}

void CTrawlexPropertyPageWhere::fillEngines()
{
    // Boxes of a list the registry no longer holds go: the page lives as long as the window.
    while (QLayoutItem *item = m_pGroupLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_names.clear();
    m_boxes.clear();
    bool addedSeen = false;
    for (const SheetEngine &engine : SheetEngines::all()) {
        const bool added = !engine.builtIn;
        if (added && !addedSeen) {
            // The user's own engines, below the built-in ones and apart from them.
            auto *line = new QFrame(m_pGroup);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            m_pGroupLayout->addWidget(line);
            addedSeen = true;
        }
        // An added engine's name is its label; "&" in it is a letter, not a shortcut.
        const QString text = added ? QString(engine.name).replace(QLatin1Char('&'), QLatin1String("&&")) : engine.label;
        auto *box = new QCheckBox(text, m_pGroup);
        box->setObjectName(engine.controlId ? QString::number(engine.controlId) : QLatin1String("engine:") + engine.name);
        m_pGroupLayout->addWidget(box);
        box->setVisible(engine.shown);
        m_names.append(engine.name);
        m_boxes.append(box);
    }
}

QCheckBox *CTrawlexPropertyPageWhere::checkBox(const QString &engine) const
{
    const qsizetype i = m_names.indexOf(engine);
    return i < 0 ? nullptr : m_boxes.at(i);
}

bool CTrawlexPropertyPageWhere::isSelected(int index) const
{
    return m_boxes.at(index)->isChecked();
}

QStringList CTrawlexPropertyPageWhere::selectedEngines() const
{
    QStringList names;
    for (qsizetype i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes.at(i)->isChecked())
            names.append(m_names.at(i));
    }
    return names;
}

void CTrawlexPropertyPageWhere::setSelected(const QString &engine, bool selected)
{
    if (QCheckBox *box = checkBox(engine))
        box->setChecked(selected);
}

void CTrawlexPropertyPageWhere::Reset()
{
    // Engines added or removed since the page was built show from the next showing on.
    if (SheetEngines::names() != m_names) {
        fillEngines();
        installCharacterFilter();
    }
    for (QCheckBox *box : m_boxes)
        box->setChecked(false);
}

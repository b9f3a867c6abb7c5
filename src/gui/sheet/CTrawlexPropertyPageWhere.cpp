#include "sheet/CTrawlexPropertyPageWhere.h"

#include "TrawlexIds.h"
#include "retrieval/EngineRegistry.h"

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
    auto *group = new QGroupBox(QStringLiteral("Search Engines"), this);
    auto *groupLayout = new QVBoxLayout(group);
    const QList<EngineRegistry::Descriptor> engines = EngineRegistry::instance().queryEngines();
    bool addedSeen = false;
    for (const EngineRegistry::Descriptor &engine : engines) {
        const bool added = !engine->builtIn;
        if (added && !addedSeen) {
            // The user's own engines, below the built-in ones and apart from them.
            auto *line = new QFrame(group);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            groupLayout->addWidget(line);
            addedSeen = true;
        }
        // An added engine's name is its label; "&" in it is a letter, not a shortcut.
        const QString text = added ? QString(engine->name).replace(QLatin1Char('&'), QLatin1String("&&")) : engine->label;
        auto *box = new QCheckBox(text, group);
        box->setObjectName(engine->controlId ? QString::number(engine->controlId)
                                             : QLatin1String("engine:") + engine->name);
        groupLayout->addWidget(box);
        box->setVisible(added || engine->takes(EngineFeature::OnSheet));
        m_names.append(engine->name);
        m_boxes.append(box);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(group);
    layout->addStretch(1);
    installCharacterFilter();
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
    for (QCheckBox *box : m_boxes)
        box->setChecked(false);
}

#include "sheet/CTrawlexPropertyPageWhere.h"

#include "TrawlexIds.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace TrawlexIds;

namespace {
struct EngineBox
{
    const char *name;
    int id;
    const char *text;
    bool shown;
};

constexpr EngineBox kBoxes[CTrawlexPropertyPageWhere::EngineCount] = {
    {"AltaVista", IDC_WHERE_ALTAVISTA, "&AltaVista", true},
    {"Excite", IDC_WHERE_EXCITE, "&Excite", true},
    {"HotBot", IDC_WHERE_HOTBOT, "&HotBot", true},
    {"InfoSeek", IDC_WHERE_INFOSEEK, "&Infoseek", true},
    {"Lycos", IDC_WHERE_LYCOS, "&Lycos", true},
    {"Magellan", IDC_WHERE_MAGELLAN, "&Magellan", true},
    {"OpenText", IDC_WHERE_OPENTEXT, "&Open Text Index", false},
    {"WebCrawler", IDC_WHERE_WEBCRAWLER, "&WebCrawler", false},
    {"Worm", IDC_WHERE_WORM, "W&orld Wide Web Worm", false},
    {"Yahoo", IDC_WHERE_YAHOO, "&Yahoo!", true},
};
} // namespace

const QStringList &CTrawlexPropertyPageWhere::engineNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const EngineBox &box : kBoxes)
            list.append(QLatin1String(box.name));
        return list;
    }();
    return names;
}

CTrawlexPropertyPageWhere::CTrawlexPropertyPageWhere(QWidget *parent)
    : CTrawlexPropertyPage(IDD_PAGE_WHERE, QStringLiteral("Where"), QStringLiteral("()'\""), parent)
{
    auto *prompt = new QLabel(QStringLiteral("Please choose which search engines to include in your search:"), this);
    prompt->setWordWrap(true);
    auto *group = new QGroupBox(QStringLiteral("Search Engines"), this);
    auto *groupLayout = new QVBoxLayout(group);
    for (int i = 0; i < EngineCount; ++i) {
        auto *box = new QCheckBox(QLatin1String(kBoxes[i].text), group);
        box->setObjectName(QString::number(kBoxes[i].id));
        groupLayout->addWidget(box);
        box->setVisible(kBoxes[i].shown);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_bEngines[i] = on; });
        m_boxes[i] = box;
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(group);
    layout->addStretch(1);
    installCharacterFilter();
}

QCheckBox *CTrawlexPropertyPageWhere::checkBox(const QString &engine) const
{
    const qsizetype i = engineNames().indexOf(engine);
    return i < 0 ? nullptr : m_boxes[i];
}

QStringList CTrawlexPropertyPageWhere::selectedEngines() const
{
    QStringList names;
    for (int i = 0; i < EngineCount; ++i) {
        if (m_bEngines[i])
            names.append(engineNames().at(i));
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

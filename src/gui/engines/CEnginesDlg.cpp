#include "engines/CEnginesDlg.h"

#include "app/IUserPrompt.h"
#include "engines/CEngineAddDlg.h"
#include "engines/CEngineEditDlg.h"
#include "engines/CEngineForm.h"
#include "retrieval/EngineRegistry.h"
#include "run/CQueryCommands.h"
#include "run/CUserEngines.h"
#include "run/RunTexts.h"
#include "store/CDaoException.h"
#include "store/CTrawlexDoc.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kBuiltInRole = Qt::UserRole + 1;

// The address [Search Engine] gives a built-in engine in the list "|name|address|...".
QString listedAddress(const QString &addressList, const QString &name)
{
    const QStringList parts = addressList.split(QLatin1Char('|'));
    const qsizetype at = parts.indexOf(name);
    return at >= 0 && at + 1 < parts.size() ? parts.at(at + 1) : QString();
}

QTreeWidget *newList(const QStringList &headers, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels(headers);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

} // namespace

CEnginesDlg::CEnginesDlg(CTrawlexDoc &doc, CQueryCommands &commands, IUserPrompt &prompt, QWidget *parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_commands(commands)
    , m_prompt(prompt)
    , m_pList(newList({QStringLiteral("Name"), QStringLiteral("Kind"), QStringLiteral("Address")}, this))
    , m_pAdd(new QPushButton(QStringLiteral("&Add..."), this))
    , m_pEdit(new QPushButton(QStringLiteral("&Edit..."), this))
    , m_pRemove(new QPushButton(QStringLiteral("&Remove"), this))
    , m_pTestWord(new QLineEdit(QStringLiteral("test"), this))
    , m_pTest(new QPushButton(QStringLiteral("&Test"), this))
    , m_pTestResult(new QLabel(this))
    , m_pHits(newList({QStringLiteral("Title"), QStringLiteral("Address")}, this))
{
    setObjectName(QStringLiteral("engines"));
    setWindowTitle(QStringLiteral("Engines"));
    setModal(true);

    m_pList->setObjectName(QStringLiteral("engineList"));
    m_pAdd->setObjectName(QStringLiteral("engineAdd"));
    m_pEdit->setObjectName(QStringLiteral("engineEdit"));
    m_pRemove->setObjectName(QStringLiteral("engineRemove"));
    m_pTestWord->setObjectName(QStringLiteral("engineTestWord"));
    m_pTest->setObjectName(QStringLiteral("engineTest"));
    m_pTestResult->setObjectName(QStringLiteral("engineTestResult"));
    m_pHits->setObjectName(QStringLiteral("engineTestHits"));
    m_pHits->setSelectionMode(QAbstractItemView::NoSelection);
    // A reason or a count: plain text, whatever the engine answered.
    m_pTestResult->setTextFormat(Qt::PlainText);
    m_pTestResult->setWordWrap(true);
    m_pTestResult->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *side = new QVBoxLayout;
    side->addWidget(m_pAdd);
    side->addWidget(m_pEdit);
    side->addWidget(m_pRemove);
    side->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(m_pList, 1);
    top->addLayout(side);

    auto *testBox = new QGroupBox(QStringLiteral("Try the selected engine"), this);
    auto *wordLabel = new QLabel(QStringLiteral("Search &for:"), testBox);
    wordLabel->setBuddy(m_pTestWord);
    auto *testRow = new QHBoxLayout;
    testRow->addWidget(wordLabel);
    testRow->addWidget(m_pTestWord, 1);
    testRow->addWidget(m_pTest);
    auto *testLayout = new QVBoxLayout(testBox);
    testLayout->addLayout(testRow);
    testLayout->addWidget(m_pTestResult);
    testLayout->addWidget(m_pHits, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Close"));
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(testBox, 2);
    layout->addWidget(buttons);

    connect(m_pAdd, &QPushButton::clicked, this, &CEnginesDlg::OnAdd);
    connect(m_pEdit, &QPushButton::clicked, this, &CEnginesDlg::OnEdit);
    connect(m_pRemove, &QPushButton::clicked, this, &CEnginesDlg::OnRemove);
    connect(m_pTest, &QPushButton::clicked, this, &CEnginesDlg::OnTest);
    connect(m_pTestWord, &QLineEdit::returnPressed, this, &CEnginesDlg::OnTest);
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CEnginesDlg::updateButtons);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!selectedIsBuiltIn())
            OnEdit();
    });
    connect(&m_engineTest, &CEngineTest::finished, this, &CEnginesDlg::onTestFinished);

    fillList();
    m_pList->header()->setSectionResizeMode(NameColumn, QHeaderView::ResizeToContents);
    m_pList->header()->setSectionResizeMode(KindColumn, QHeaderView::ResizeToContents);
    m_pHits->header()->resizeSection(0, 300);
    resize(720, 560);
}

CEnginesDlg::~CEnginesDlg() = default;

QString CEnginesDlg::shownAddress(const QString &templateText)
{
    const QUrl url(templateText);
    QString shown = url.host();
    if (url.port() != -1)
        shown += QLatin1Char(':') + QString::number(url.port());
    return shown + url.path();
}

void CEnginesDlg::fillList(const QString &select)
{
    const QString keep = select.isEmpty() ? selectedEngine() : select;
    m_pList->clear();
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (const EngineRegistry::Descriptor &e : EngineRegistry::instance().queryEngines()) {
        // The built-in engines a query can still ask; the retired ones are names only.
        if (e->builtIn && !e->takes(EngineFeature::OnSheet))
            continue;
        auto *item = new QTreeWidgetItem(m_pList);
        item->setText(NameColumn, e->name);
        item->setData(NameColumn, kBuiltInRole, e->builtIn);
        if (e->definition) {
            item->setText(KindColumn, CEngineForm::kindText(*e->definition));
            item->setText(AddressColumn, shownAddress(e->definition->url.templateText));
        } else {
            item->setText(KindColumn, QStringLiteral("built-in"));
            item->setText(AddressColumn, listedAddress(m_doc.EngineAddressList(), e->name));
            for (int c = NameColumn; c <= AddressColumn; ++c)
                item->setForeground(c, grey);
        }
        if (e->name == keep)
            m_pList->setCurrentItem(item);
    }
    updateButtons();
}

QString CEnginesDlg::selectedEngine() const
{
    const QList<QTreeWidgetItem *> items = m_pList->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text(NameColumn);
}

bool CEnginesDlg::selectedIsBuiltIn() const
{
    const QList<QTreeWidgetItem *> items = m_pList->selectedItems();
    return !items.isEmpty() && items.first()->data(NameColumn, kBuiltInRole).toBool();
}

bool CEnginesDlg::selectEngine(const QString &name)
{
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        if (m_pList->topLevelItem(i)->text(NameColumn) == name) {
            m_pList->setCurrentItem(m_pList->topLevelItem(i));
            return true;
        }
    }
    return false;
}

QStringList CEnginesDlg::listedEngines() const
{
    QStringList names;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i)
        names << m_pList->topLevelItem(i)->text(NameColumn);
    return names;
}

void CEnginesDlg::updateButtons()
{
    const bool selected = !selectedEngine().isEmpty();
    const bool added = selected && !selectedIsBuiltIn();
    m_pEdit->setEnabled(added);
    m_pRemove->setEnabled(added);
    m_pTest->setEnabled(selected && !m_engineTest.isRunning());
}

void CEnginesDlg::reloadAddressList()
{
    try {
        m_doc.LoadEngineAddressList();
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
    }
}

void CEnginesDlg::OnAdd()
{
    CEngineAddDlg dialog(m_doc.Database(), m_prompt, this);
    Q_EMIT engineDialogShown(&dialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.added())
        return;
    reloadAddressList();
    fillList(dialog.added()->name);
}

void CEnginesDlg::OnEdit()
{
    const QString name = selectedEngine();
    if (name.isEmpty() || selectedIsBuiltIn())
        return;
    std::optional<EngineDefinition> stored;
    try {
        stored = CUserEngines(m_doc.Database()).find(name);
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
        return;
    }
    if (!stored) {
        m_prompt.showMessage(QStringLiteral("Error!  There is no added engine called \"%1\".").arg(name));
        fillList();
        return;
    }
    CEngineEditDlg dialog(m_doc.Database(), m_prompt, *stored, this);
    Q_EMIT engineDialogShown(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    reloadAddressList();
    fillList(dialog.form()->definition().name);
}

void CEnginesDlg::OnRemove()
{
    const QString name = selectedEngine();
    if (name.isEmpty() || selectedIsBuiltIn())
        return;
    try {
        CUserEngines engines(m_doc.Database());
        const QList<CEngineDefinitionTable::QueryUse> uses = engines.queriesUsing(name);
        QStringList queries;
        bool alone = false;
        for (const CEngineDefinitionTable::QueryUse &use : uses) {
            queries << QLatin1Char('"') + use.name + QLatin1Char('"');
            alone = alone || use.otherEngines == 0;
        }
        QString error;
        // A query that asks nothing else would be left unable to run: no question, the refusal.
        if (!alone) {
            const QString question =
                uses.isEmpty()
                    ? QStringLiteral("Remove the engine \"%1\"?").arg(name)
                    : QStringLiteral("The engine \"%1\" is asked by %2 %3.  Remove it from %4 and remove the engine?")
                          .arg(name, uses.size() == 1 ? QStringLiteral("the query") : QStringLiteral("the queries"),
                               RunTexts::joinEngineNames(queries),
                               uses.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"));
            if (!m_prompt.askYesNo(question))
                return;
        }
        if (!engines.remove(name, !uses.isEmpty(), &error)) {
            m_prompt.showMessage(QStringLiteral("Error!  ") + error);
            return;
        }
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
        return;
    }
    reloadAddressList();
    fillList();
}

void CEnginesDlg::OnTest()
{
    const QString name = selectedEngine();
    if (name.isEmpty() || m_engineTest.isRunning())
        return;
    m_pHits->clear();
    const QStringList words = m_pTestWord->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!m_commands.startEngineTest(m_engineTest, name, words)) {
        m_pTestResult->setText(QStringLiteral("Error!  %1 cannot be asked.").arg(name));
        return;
    }
    m_pTestResult->setText(QStringLiteral("Asking %1 ...").arg(name));
    updateButtons();
}

void CEnginesDlg::onTestFinished(const CEngineTest::Outcome &outcome)
{
    if (outcome.failed) {
        m_pTestResult->setText(QStringLiteral("Error!  %1 failed after %2 ms: %3")
                                   .arg(outcome.engine)
                                   .arg(outcome.milliseconds)
                                   .arg(outcome.reason.isEmpty() ? QStringLiteral("no reason given") : outcome.reason));
    } else {
        m_pTestResult->setText(QStringLiteral("%1: %2 hits in %3 ms")
                                   .arg(outcome.engine)
                                   .arg(outcome.hits.size())
                                   .arg(outcome.milliseconds));
        for (const EngineHit &hit : outcome.hits.mid(0, kShownHits)) {
            auto *item = new QTreeWidgetItem(m_pHits);
            item->setText(0, hit.title);
            item->setText(1, hit.url);
        }
    }
    updateButtons();
}

void CEnginesDlg::done(int result)
{
    // A test still asking its engine ends with the dialog.
    m_engineTest.stop();
    QDialog::done(result);
}

#include "frame/CTrawlexToolBar.h"

#include "TrawlexIds.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

using namespace TrawlexIds;

namespace {
// Buttons as the toolbar always had them; the images leave room for the frame.
constexpr QSize kButtonSize(44, 35);
constexpr QSize kImageSize(36, 28);
} // namespace

CTrawlexToolBar::CTrawlexToolBar(QWidget *parent)
    : QToolBar(QStringLiteral("Toolbar"), parent)
    , m_pViewLabel(new QLabel(QStringLiteral("Current View:  Name"), this))
{
    setObjectName(QString::number(AFX_IDW_TOOLBAR));
    setIconSize(kImageSize);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setAllowedAreas(Qt::AllToolBarAreas);

    // Times New Roman at 10 points; the slot is 28 average characters wide.
    m_font = QFont(QStringLiteral("Times New Roman"));
    m_font.setPointSize(10);
    m_font.setWeight(QFont::Normal);
    m_pViewLabel->setFont(m_font);
    m_pViewLabel->setObjectName(QString::number(IDC_CURRENT_VIEW));
    m_pViewLabel->setTextFormat(Qt::PlainText);
    m_pViewLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QFontMetrics metrics(m_font);
    m_pViewLabel->setFixedWidth(28 * metrics.averageCharWidth());
    m_pViewLabel->setIndent(metrics.averageCharWidth());
    m_pViewLabel->setAccessibleName(QStringLiteral("Current view"));
    addWidget(m_pViewLabel);
}

void CTrawlexToolBar::setViewLabelText(const QString &text)
{
    m_pViewLabel->setText(text);
}

QString CTrawlexToolBar::accessibleText(const QAction *action)
{
    // The menu text without its mnemonic and shortcut: "&New Query\tCtrl+N" is "New Query".
    QString text = action->text().section(QLatin1Char('\t'), 0, 0);
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.trimmed();
}

void CTrawlexToolBar::addCommand(QAction *action)
{
    addAction(action);
    if (QWidget *button = widgetForAction(action)) {
        button->setFixedSize(kButtonSize);
        // Image-only buttons: screen readers would otherwise have nothing to say.
        button->setAccessibleName(accessibleText(action));
        button->setAccessibleDescription(action->statusTip());
    }
}

QToolBar *CTrawlexToolBar::createSearchBar(QWidget *parent)
{
    auto *bar = new QToolBar(QStringLiteral("Search"), parent);
    bar->setObjectName(QStringLiteral("searchBar"));
    bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    // The free width goes before the field, so it keeps to the right as browsers have it.
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);

    m_pSearchField = new QLineEdit(bar);
    m_pSearchField->setObjectName(QStringLiteral("searchField"));
    m_pSearchField->setPlaceholderText(QStringLiteral("Search the web"));
    m_pSearchField->setClearButtonEnabled(true);
    m_pSearchField->setAccessibleName(QStringLiteral("Search the web"));
    m_pSearchField->setAccessibleDescription(
        QStringLiteral("Words to search for; Enter asks the search field's engines"));
    m_pSearchField->setToolTip(QStringLiteral("Search the web (Ctrl+L)\n"
                                              "word  -word  \"a phrase\"  a OR b  site:host  inurl:word  intitle:word"));
    // Room for a few words at any font size; more when the window has it.
    const QFontMetrics metrics(m_pSearchField->font());
    m_pSearchField->setMinimumWidth(34 * metrics.averageCharWidth());
    m_pSearchField->setMaximumWidth(48 * metrics.averageCharWidth());
    m_pSearchField->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    bar->addWidget(m_pSearchField);

    m_pNotesMark = m_pSearchField->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                             QLineEdit::LeadingPosition);
    m_pNotesMark->setObjectName(QStringLiteral("searchNotes"));
    m_pNotesMark->setVisible(false);
    connect(m_pSearchField, &QLineEdit::textEdited, this, [this] { setSearchNotes({}); });
    return bar;
}

void CTrawlexToolBar::setSearchNotes(const QStringList &notes)
{
    if (!m_pNotesMark)
        return;
    m_pNotesMark->setToolTip(notes.join(QLatin1Char('\n')));
    m_pNotesMark->setVisible(!notes.isEmpty());
}

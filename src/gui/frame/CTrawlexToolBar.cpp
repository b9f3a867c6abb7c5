#include "frame/CTrawlexToolBar.h"

#include "TrawlexIds.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
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
    addWidget(m_pViewLabel);
}

void CTrawlexToolBar::setViewLabelText(const QString &text)
{
    m_pViewLabel->setText(text);
}

void CTrawlexToolBar::addCommand(QAction *action)
{
    addAction(action);
    if (QWidget *button = widgetForAction(action))
        button->setFixedSize(kButtonSize);
}

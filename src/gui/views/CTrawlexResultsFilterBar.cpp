#include "CTrawlexResultsFilterBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

CTrawlexResultsFilterBar::CTrawlexResultsFilterBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ResultsFilterBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto *label = new QLabel(QStringLiteral("Filter:"), this); // no mnemonic: Alt+F is the File menu
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(QStringLiteral("ResultsFilterEdit"));
    m_pEdit->setClearButtonEnabled(true);
    m_pEdit->setPlaceholderText(QStringLiteral("Words in the title, address or summary"));
    m_pEdit->setAccessibleName(QStringLiteral("Filter the hits on this page"));
    label->setBuddy(m_pEdit);
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("ResultsFilterStatus"));
    m_pStatus->setTextFormat(Qt::PlainText);
    m_pClose = new QToolButton(this);
    m_pClose->setObjectName(QStringLiteral("ResultsFilterClose"));
    m_pClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    m_pClose->setAutoRaise(true);
    m_pClose->setToolTip(QStringLiteral("Close the filter (Esc)"));
    m_pClose->setAccessibleName(QStringLiteral("Close the filter"));

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_pEdit, 1);
    layout->addWidget(m_pStatus);
    layout->addWidget(m_pClose);

    connect(m_pEdit, &QLineEdit::textChanged, this, &CTrawlexResultsFilterBar::filterChanged);
    connect(m_pClose, &QToolButton::clicked, this, &CTrawlexResultsFilterBar::closeRequested);
    m_pEdit->installEventFilter(this);
}

QString CTrawlexResultsFilterBar::filterText() const
{
    return m_pEdit->text();
}

void CTrawlexResultsFilterBar::setStatus(const QString &text)
{
    m_pStatus->setText(text);
}

void CTrawlexResultsFilterBar::focusWords()
{
    m_pEdit->setFocus(Qt::ShortcutFocusReason);
    m_pEdit->selectAll();
}

bool CTrawlexResultsFilterBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pEdit && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        Q_EMIT closeRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

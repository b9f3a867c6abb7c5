#include "CTrawlexHitTitle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

CTrawlexHitTitle::CTrawlexHitTitle(int hitIndex, const QString &shown, const QString &title, const QString &address,
                                   bool visited, QWidget *parent)
    : CTrawlexResultText(hitIndex, shown, parent)
{
    setForegroundRole(visited ? QPalette::LinkVisited : QPalette::Link);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(title);
    setAccessibleDescription(address);
    setToolTip(address);
}

QRect CTrawlexHitTitle::textRect() const
{
    const QRect box = contentsRect();
    return fontMetrics()
        .boundingRect(box, int(alignment()) | Qt::TextWordWrap, text())
        .intersected(box);
}

void CTrawlexHitTitle::paintEvent(QPaintEvent *event)
{
    CTrawlexResultText::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = textRect().adjusted(-1, 0, 1, 0).intersected(rect());
    option.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void CTrawlexHitTitle::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        Q_EMIT activated(controlId());
        event->accept();
        return;
    }
    CTrawlexResultText::keyPressEvent(event);
}

void CTrawlexHitTitle::mousePressEvent(QMouseEvent *event)
{
    m_bPressed = event->button() == Qt::LeftButton && textRect().contains(event->position().toPoint());
    if (m_bPressed) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    CTrawlexResultText::mousePressEvent(event);
}

void CTrawlexHitTitle::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a link in a browser: opens when pressed and let go on the words.
    const bool click = m_bPressed && event->button() == Qt::LeftButton
        && textRect().contains(event->position().toPoint());
    m_bPressed = false;
    if (click) {
        event->accept();
        Q_EMIT activated(controlId());
        return;
    }
    CTrawlexResultText::mouseReleaseEvent(event);
}

void CTrawlexHitTitle::mouseMoveEvent(QMouseEvent *event)
{
    if (textRect().contains(event->position().toPoint()))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    CTrawlexResultText::mouseMoveEvent(event);
}

void CTrawlexHitTitle::focusInEvent(QFocusEvent *event)
{
    CTrawlexResultText::focusInEvent(event);
    update();
}

void CTrawlexHitTitle::focusOutEvent(QFocusEvent *event)
{
    CTrawlexResultText::focusOutEvent(event);
    update();
}

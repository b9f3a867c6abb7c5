#include "CTrawlexResultText.h"

#include <QPainter>
#include <QStyle>

CTrawlexResultText::CTrawlexResultText(int id, const QString &text, QWidget *parent)
    : QLabel(parent)
    , m_nId(id)
{
    setObjectName(QString::number(id));
    // No fill of its own: the page paints the base colour once, and a label over a button
    // beside it must not cover the button.
    setForegroundRole(QPalette::Text);
    setAutoFillBackground(false);

    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setText(text);
}

void CTrawlexResultText::setElided(bool elided)
{
    if (m_bElided == elided)
        return;
    m_bElided = elided;
    setWordWrap(!elided);
    update();
}

void CTrawlexResultText::paintEvent(QPaintEvent *event)
{
    if (!m_bElided) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect box = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, box.width());
    style()->drawItemText(&painter, box, int(alignment()) | Qt::TextSingleLine, palette(), isEnabled(), shown,
                          foregroundRole());
}

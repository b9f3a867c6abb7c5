#include "CTrawlexResultText.h"

#include <QPalette>

CTrawlexResultText::CTrawlexResultText(int id, const QString &text, QWidget *parent)
    : QLabel(parent)
    , m_nId(id)
{
    setObjectName(QString::number(id));
    m_crText = palette().color(QPalette::WindowText);
    m_crBack = palette().color(QPalette::Base);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_crText);
    pal.setColor(QPalette::Window, m_crBack);
    setPalette(pal);
    setAutoFillBackground(true);

    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setText(text);
}

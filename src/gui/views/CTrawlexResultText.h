#pragma once

#include <QColor>
#include <QLabel>

// A text of the results page: plain text ("&" shown as it is), left-aligned and wrapped
// inside its box, in the window-text colour on the window colour rather than on the
// dialog colour. The control's identifier is its objectName.
class CTrawlexResultText final : public QLabel
{
    Q_OBJECT

public:
    CTrawlexResultText(int id, const QString &text, QWidget *parent);

    int controlId() const { return m_nId; }

private:
    int m_nId;
    QColor m_crText;
    QColor m_crBack;
};

#pragma once

#include <QLabel>

// A text of the results page: plain text ("&" and markup shown as they are), left-aligned and
// wrapped inside its box, in the palette's text colour straight on the page's base colour, so
// a dark palette gives light text on dark. The control's identifier is its objectName.
class CTrawlexResultText : public QLabel
{
    Q_OBJECT

public:
    CTrawlexResultText(int id, const QString &text, QWidget *parent);

    int controlId() const { return m_nId; }
    // One line cut with "…" where it would run out of its box (or into a button beside it),
    // rather than wrapped or clipped mid-character. The whole text stays in text().
    void setElided(bool elided);
    bool isElided() const { return m_bElided; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_nId;
    bool m_bElided = false;
};

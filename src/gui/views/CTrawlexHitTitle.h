#pragma once

#include "CTrawlexResultText.h"

// The title of a hit, and its link: a click on the words, or Enter while it has the focus,
// asks for the hit to be opened. Takes the focus by Tab and shows it with the style's focus
// frame; drawn in the palette's link colour, or its visited-link colour once opened.
class CTrawlexHitTitle final : public CTrawlexResultText
{
    Q_OBJECT

public:
    // shown is the title as the page shows it; title and address are the hit's own, for the
    // accessible name and description.
    CTrawlexHitTitle(int hitIndex, const QString &shown, const QString &title, const QString &address,
                     bool visited, QWidget *parent);

    // Where the words are drawn: the part of the box that reacts to the mouse.
    QRect textRect() const;

Q_SIGNALS:
    void activated(int hitIndex);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_bPressed = false;
};

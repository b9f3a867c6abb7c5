#pragma once

#include <QPushButton>

// "Browse" of hit i: its identifier is 50000 + i, from which the click recovers i. Its
// accessible name says which page it opens.
class CTrawlexBrowseButton final : public QPushButton
{
    Q_OBJECT

public:
    CTrawlexBrowseButton(int hitIndex, const QString &title, QWidget *parent);

    int controlId() const { return m_nId; }
    int hitIndex() const;

Q_SIGNALS:
    void browseHit(int hitIndex);

private:
    int m_nId;
};

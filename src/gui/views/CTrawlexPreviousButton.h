#pragma once

#include <QPushButton>

// "Previous" (identifier 202): the page before the one on show.
class CTrawlexPreviousButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit CTrawlexPreviousButton(QWidget *parent);
};

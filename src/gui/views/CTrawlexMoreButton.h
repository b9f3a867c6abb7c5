#pragma once

#include <QPushButton>

// "More" (identifier 201): the next page, from the hits held or after asking the engines.
class CTrawlexMoreButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit CTrawlexMoreButton(QWidget *parent);
};

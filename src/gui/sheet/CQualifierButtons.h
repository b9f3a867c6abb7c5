#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// Three radio buttons, include / exclude / optional, standing for one int choice of a page.
class CQualifierButtons final : public QGroupBox
{
    Q_OBJECT
public:
    // ids and texts in include, exclude, optional order.
    CQualifierButtons(const QString &title, const int (&ids)[3], const QString (&texts)[3],
                      QWidget *parent);

    QRadioButton *button(int index) const { return m_buttons[index]; }

    // The index of the first checked button into choice; choice keeps its value if none is.
    void takeChoice(int &choice) const;
    // Shows choice (-1 or out of range: no button checked).
    void showChoice(int choice);

private:
    QRadioButton *m_buttons[3];
    QButtonGroup *m_group;
};

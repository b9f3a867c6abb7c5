#include "sheet/CQualifierButtons.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

CQualifierButtons::CQualifierButtons(const QString &title, const int (&ids)[3],
                                     const QString (&texts)[3], QWidget *parent)
    : QGroupBox(title, parent)
    , m_group(new QButtonGroup(this))
{
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QRadioButton(texts[i], this);
        m_buttons[i]->setObjectName(QString::number(ids[i]));
        m_group->addButton(m_buttons[i], i);
        layout->addWidget(m_buttons[i]);
    }
    layout->addStretch(1);
}

void CQualifierButtons::takeChoice(int &choice) const
{
    for (int i = 0; i < 3; ++i) {
        if (m_buttons[i]->isChecked()) {
            choice = i;
            return;
        }
    }
}

void CQualifierButtons::showChoice(int choice)
{
    // An exclusive group cannot uncheck its last button; lift that for a moment.
    m_group->setExclusive(false);
    for (int i = 0; i < 3; ++i)
        m_buttons[i]->setChecked(i == choice);
    m_group->setExclusive(true);
}

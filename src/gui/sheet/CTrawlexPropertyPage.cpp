#include "sheet/CTrawlexPropertyPage.h"

#include "app/IUserPrompt.h"
#include "common/CTypedCharacterFilter.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTextStream>

CTrawlexPropertyPage::CTrawlexPropertyPage(int templateId, const QString &title,
                                           const QString &refusedCharacters, QWidget *parent)
    : QWidget(parent)
    , m_nTemplateId(templateId)
    , m_strTitle(title)
    , m_pFilter(new CTypedCharacterFilter(refusedCharacters, this))
{
    setObjectName(QString::number(templateId));
}

void CTrawlexPropertyPage::installCharacterFilter()
{
    const auto children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(m_pFilter);
}

void CTrawlexPropertyPage::MessageBox(const QString &text) const
{
    if (m_pPrompt) {
        m_pPrompt->showMessage(text);
        return;
    }
    QTextStream(stderr) << text << '\n';
}

int CTrawlexPropertyPage::SelectedKeywordRow(const QListWidget *list, const QLineEdit *edit) const
{
    const int row = list->currentRow();
    if (row >= 0 && list->item(row)->isSelected())
        return row;
    MessageBox(edit->text().isEmpty() ? QStringLiteral("Must set Active Keyword First!")
                                      : QStringLiteral("Must add Active Keyword First!"));
    return -1;
}

#include "common/CMessageBoxPrompt.h"

#include "store/CDaoException.h"
#include "store/CTrawlexDatabase.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace {
QString caption()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Trawlex") : name;
}
} // namespace

CMessageBoxPrompt::CMessageBoxPrompt(QWidget *parent)
    : m_pParent(parent)
{
}

void CMessageBoxPrompt::setParentWidget(QWidget *parent)
{
    m_pParent = parent;
}

QWidget *CMessageBoxPrompt::owner() const
{
    // A modal dialog (the query sheet) must own its message boxes, or they would open behind it.
    if (QWidget *active = QApplication::activeModalWidget())
        return active;
    if (m_pParent)
        return m_pParent->window();
    return QApplication::activeWindow();
}

void CMessageBoxPrompt::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption(), text, QMessageBox::Ok, owner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool CMessageBoxPrompt::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No, owner());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString CMessageBoxPrompt::DatabaseInUseText()
{
    return QStringLiteral("Error!  The database %1 is in use by another program.  "
                          "Close the other program, then try again.")
        .arg(CTrawlexDatabase::fileName());
}

void CMessageBoxPrompt::showDatabaseError(const CDaoException &e)
{
    showMessage(e.IsDatabaseInUse() ? DatabaseInUseText() : e.ReportText());
}

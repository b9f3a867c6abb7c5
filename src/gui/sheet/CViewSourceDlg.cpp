#include "sheet/CViewSourceDlg.h"

#include "TrawlexIds.h"

#include <QDialogButtonBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TrawlexIds;

CViewSourceDlg::CViewSourceDlg(const QString &booleanText, QWidget *parent)
    : QDialog(parent)
    , m_pEdit(new QPlainTextEdit(this))
{
    setObjectName(QString::number(IDD_VIEW_SOURCE));
    setWindowTitle(QStringLiteral("View Source"));
    m_pEdit->setObjectName(QString::number(IDC_VIEW_SOURCE_TEXT));
    m_pEdit->setReadOnly(true);
    m_pEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette palette = m_pEdit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    m_pEdit->setPalette(palette);
    // The text's lines end in CR LF; the edit wants bare line feeds.
    QString shown = booleanText;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_pEdit->setPlainText(shown);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(IDOK));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pEdit);
    layout->addWidget(buttons);
    resize(420, 240);
}

QString CViewSourceDlg::text() const
{
    return m_pEdit->toPlainText();
}

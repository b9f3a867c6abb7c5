#include "engines/CEngineEditDlg.h"

#include "engines/CEngineForm.h"
#include "run/CUserEngines.h"
#include "store/CDaoException.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CEngineEditDlg::CEngineEditDlg(CTrawlexDatabase &db, IUserPrompt &prompt, const EngineDefinition &definition,
                               QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_prompt(prompt)
    , m_strName(definition.name)
    , m_pForm(new CEngineForm(this))
    , m_pMessage(new QLabel(this))
{
    setObjectName(QStringLiteral("engineEdit"));
    setWindowTitle(QStringLiteral("Edit Engine"));
    setModal(true);
    m_pForm->setDefinition(definition);
    m_pMessage->setObjectName(QStringLiteral("engineMessage"));
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setWordWrap(true);
    m_pMessage->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_pOk = buttons->button(QDialogButtonBox::Ok);
    m_pOk->setText(QStringLiteral("OK"));
    m_pOk->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CEngineEditDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEngineEditDlg::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pForm, 1);
    layout->addWidget(m_pMessage);
    layout->addWidget(buttons);
    // Wide enough for a whole search address.
    resize(qMax(sizeHint().width(), fontMetrics().averageCharWidth() * 90), sizeHint().height());
}

void CEngineEditDlg::accept()
{
    QString error;
    try {
        if (!CUserEngines(m_db).update(m_strName, m_pForm->definition(), &error)) {
            m_pMessage->setText(QStringLiteral("Error!  ") + error);
            m_pMessage->show();
            return;
        }
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
        return;
    }
    QDialog::accept();
}

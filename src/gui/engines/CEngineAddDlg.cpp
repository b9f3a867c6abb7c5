#include "engines/CEngineAddDlg.h"

#include "engines/CEngineAddressLookup.h"
#include "engines/CEngineForm.h"
#include "retrieval/web/CDescriptionFetch.h"
#include "retrieval/web/EngineSources.h"
#include "run/CUserEngines.h"
#include "store/CDaoException.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLabel *wrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CEngineAddDlg::CEngineAddDlg(CTrawlexDatabase &db, IUserPrompt &prompt, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_prompt(prompt)
    , m_pLookup(new CEngineAddressLookup(this))
    , m_pStack(new QStackedWidget(this))
    , m_pSources(new QTabWidget(this))
    , m_pForm(new CEngineForm(this))
    , m_pMessage(new QLabel(this))
    , m_pProgress(new QProgressBar(this))
    , m_pStop(new QPushButton(QStringLiteral("&Stop"), this))
    , m_pNext(new QPushButton(QStringLiteral("&Next >"), this))
    , m_pBack(new QPushButton(QStringLiteral("< &Back"), this))
    , m_pOk(new QPushButton(QStringLiteral("OK"), this))
    , m_pCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("engineAdd"));
    setWindowTitle(QStringLiteral("Add Engine"));
    setModal(true);

    m_pSources->setObjectName(QStringLiteral("engineSources"));
    m_pSources->addTab(createAddressPage(), QStringLiteral("By address"));
    m_pSources->addTab(createFilePage(), QStringLiteral("From a file"));
    m_pSources->addTab(createTemplatePage(), QStringLiteral("By template"));

    auto *reviewPage = new QWidget(this);
    auto *reviewLayout = new QVBoxLayout(reviewPage);
    reviewLayout->setContentsMargins(0, 0, 0, 0);
    reviewLayout->addWidget(wrappedLabel(QStringLiteral("Check the engine and give it the name it is to have in your queries:"),
                                         reviewPage));
    reviewLayout->addWidget(m_pForm);
    m_pStack->addWidget(m_pSources);
    m_pStack->addWidget(reviewPage);

    // Texts here may quote what a server sent: never read as markup.
    m_pMessage->setObjectName(QStringLiteral("engineMessage"));
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setWordWrap(true);
    m_pMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pProgress->setObjectName(QStringLiteral("engineProgress"));
    m_pProgress->setRange(0, 0);
    m_pProgress->setTextVisible(false);
    m_pStop->setObjectName(QStringLiteral("engineStop"));
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_pProgress, 1);
    progressRow->addWidget(m_pStop);

    m_pNext->setObjectName(QStringLiteral("engineNext"));
    m_pBack->setObjectName(QStringLiteral("engineBack"));
    m_pOk->setObjectName(QStringLiteral("1"));
    m_pCancel->setObjectName(QStringLiteral("2"));
    // In the order of the steps, whatever order the style gives a button box.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {m_pBack, m_pNext, m_pOk, m_pCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(m_pNext, &QPushButton::clicked, this, &CEngineAddDlg::OnNext);
    connect(m_pBack, &QPushButton::clicked, this, &CEngineAddDlg::OnBack);
    connect(m_pStop, &QPushButton::clicked, this, &CEngineAddDlg::OnStop);
    connect(m_pOk, &QPushButton::clicked, this, &CEngineAddDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CEngineAddDlg::reject);

    connect(m_pLookup, &CEngineAddressLookup::fetching, this, [this](const QUrl &address) {
        setFetching(true, QStringLiteral("Fetching %1 ...").arg(address.toString()));
    });
    connect(m_pLookup, &CEngineAddressLookup::finished, this, &CEngineAddDlg::onLookedUp);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pStack, 1);
    layout->addWidget(m_pMessage);
    layout->addLayout(progressRow);
    layout->addLayout(buttons);
    setFetching(false);
    // Wide enough for a whole search address in the review.
    resize(qMax(sizeHint().width(), fontMetrics().averageCharWidth() * 90), sizeHint().height());
    m_pMessage->hide();
}

CEngineAddDlg::~CEngineAddDlg() = default;

QWidget *CEngineAddDlg::createAddressPage()
{
    auto *page = new QWidget(m_pSources);
    m_pAddress = new QLineEdit(page);
    m_pAddress->setObjectName(QStringLiteral("engineAddress"));
    m_pAddress->setPlaceholderText(QStringLiteral("https://"));
    m_pInstance = new QCheckBox(QStringLiteral("This is a &metasearch instance"), page);
    m_pInstance->setObjectName(QStringLiteral("engineInstance"));
    QLabel *label = wrappedLabel(QStringLiteral("The &address of a search description, of a web page that names one, "
                                                "or of a metasearch instance:"),
                                 page);
    label->setBuddy(m_pAddress);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addWidget(m_pAddress);
    layout->addWidget(m_pInstance);
    layout->addStretch(1);
    return page;
}

QWidget *CEngineAddDlg::createFilePage()
{
    auto *page = new QWidget(m_pSources);
    m_pFile = new QLineEdit(page);
    m_pFile->setObjectName(QStringLiteral("engineFile"));
    m_pChooseFile = new QPushButton(QStringLiteral("&Choose..."), page);
    m_pChooseFile->setObjectName(QStringLiteral("engineChooseFile"));
    connect(m_pChooseFile, &QPushButton::clicked, this, &CEngineAddDlg::OnChooseFile);
    auto *row = new QHBoxLayout;
    row->addWidget(m_pFile, 1);
    row->addWidget(m_pChooseFile);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(wrappedLabel(QStringLiteral("A search description saved in a file (OpenSearch, .xml):"), page));
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

QWidget *CEngineAddDlg::createTemplatePage()
{
    auto *page = new QWidget(m_pSources);
    m_pTemplate = new QLineEdit(page);
    m_pTemplate->setObjectName(QStringLiteral("engineTemplateSource"));
    m_pTemplate->setPlaceholderText(QStringLiteral("https://example.com/search?q={searchTerms}&page={startPage}"));
    m_pTemplateFormat = new QComboBox(page);
    m_pTemplateFormat->setObjectName(QStringLiteral("engineTemplateFormat"));
    CEngineForm::addFormats(m_pTemplateFormat);

    auto *mappingBox = new QGroupBox(QStringLiteral("Where the hits are in the JSON answer"), page);
    auto *mappingLayout = new QFormLayout(mappingBox);
    const char *const labels[] = {"Results array:", "Title field:", "Address field:", "Summary field:"};
    for (int i = 0; i < CEngineForm::MappingFields; ++i) {
        m_templateMapping[i] = new QLineEdit(mappingBox);
        m_templateMapping[i]->setObjectName(QStringLiteral("templateMapping%1").arg(i));
        mappingLayout->addRow(QLatin1String(labels[i]), m_templateMapping[i]);
    }
    m_pTemplateMappingBox = mappingBox;
    auto showMapping = [this] {
        m_pTemplateMappingBox->setVisible(m_pTemplateFormat->currentData().toString() == QLatin1String("mapped"));
    };
    connect(m_pTemplateFormat, &QComboBox::currentIndexChanged, this, showMapping);
    showMapping();

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Template:"), m_pTemplate);
    form->addRow(QStringLiteral("&Answers as:"), m_pTemplateFormat);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(wrappedLabel(QStringLiteral("A results address with {searchTerms} where the words go, and "
                                                  "{startPage} or {startIndex} for the later pages:"),
                                   page));
    layout->addLayout(form);
    layout->addWidget(mappingBox);
    layout->addStretch(1);
    return page;
}

bool CEngineAddDlg::isReviewing() const
{
    return m_pStack->currentIndex() == 1;
}

bool CEngineAddDlg::isFetching() const
{
    return m_pLookup->isRunning();
}

void CEngineAddDlg::showError(const QString &text)
{
    m_pMessage->setText(QStringLiteral("Error!  ") + text);
    m_pMessage->show();
}

void CEngineAddDlg::setFetching(bool fetching, const QString &text)
{
    m_pProgress->setVisible(fetching);
    m_pStop->setVisible(fetching);
    m_pSources->setEnabled(!fetching);
    if (fetching) {
        m_pMessage->setText(text);
        m_pMessage->show();
    }
    updateButtons();
}

void CEngineAddDlg::updateButtons()
{
    const bool reviewing = isReviewing();
    const bool fetching = isFetching();
    m_pBack->setVisible(reviewing);
    m_pNext->setVisible(!reviewing);
    m_pNext->setEnabled(!fetching);
    m_pOk->setVisible(reviewing);
    m_pNext->setDefault(!reviewing);
    m_pOk->setDefault(reviewing);
}

void CEngineAddDlg::OnNext()
{
    if (isReviewing() || isFetching())
        return;
    m_pMessage->hide();
    switch (m_pSources->currentIndex()) {
    case ByAddress:
        if (m_pAddress->text().trimmed().isEmpty()) {
            showError(QStringLiteral("Give the address of a description, a web page or a metasearch instance."));
            return;
        }
        m_pLookup->start(m_pAddress->text(), m_pInstance->isChecked());
        updateButtons();
        return;
    case FromFile:
        readFile();
        return;
    case ByTemplate:
        readTemplate();
        return;
    }
}

void CEngineAddDlg::readFile()
{
    const QString path = m_pFile->text().trimmed();
    if (path.isEmpty()) {
        showError(QStringLiteral("Choose a description file first."));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showError(QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    // A description is a few KB; reading more than the bound only to refuse it is pointless.
    const QByteArray bytes = file.read(CDescriptionFetch::kMaxBytes + 1);
    if (bytes.size() > CDescriptionFetch::kMaxBytes) {
        showError(QStringLiteral("The file is larger than %1 KB; a description is much smaller.")
                      .arg(CDescriptionFetch::kMaxBytes / 1024));
        return;
    }
    QString error;
    const std::optional<EngineDefinition> d =
        EngineSources::fromDescription(bytes, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), &error);
    if (!d) {
        showError(error);
        return;
    }
    review(*d);
}

void CEngineAddDlg::readTemplate()
{
    const QString word = m_pTemplateFormat->currentData().toString();
    QString error;
    std::optional<EngineDefinition> d = EngineSources::fromTemplate(m_pTemplate->text(), word, &error);
    if (d && d->mapping) {
        d->mapping = CEngineForm::mappingFrom(m_templateMapping);
        error = d->problem();
        if (!error.isEmpty())
            d.reset();
    }
    if (!d) {
        showError(error);
        return;
    }
    review(*d);
}

void CEngineAddDlg::onLookedUp(const std::optional<EngineDefinition> &definition, const QString &error)
{
    setFetching(false);
    m_pMessage->hide();
    if (!definition) {
        showError(error);
        return;
    }
    review(*definition);
}

void CEngineAddDlg::review(const EngineDefinition &definition)
{
    m_pForm->setDefinition(definition);
    m_pStack->setCurrentIndex(1);
    m_pMessage->hide();
    updateButtons();
    m_pForm->nameEdit()->setFocus();
    m_pForm->nameEdit()->selectAll();
}

void CEngineAddDlg::OnBack()
{
    m_pStack->setCurrentIndex(0);
    m_pMessage->hide();
    updateButtons();
}

void CEngineAddDlg::OnStop()
{
    if (!isFetching())
        return;
    m_pLookup->cancel();
    setFetching(false);
    m_pMessage->setText(QStringLiteral("Stopped."));
    m_pMessage->show();
}

void CEngineAddDlg::OnChooseFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Search Description"), m_pFile->text(),
                                                      QStringLiteral("Search descriptions (*.xml *.osdx);;All files (*)"));
    if (path.isEmpty())
        return;
    m_pFile->setText(QDir::toNativeSeparators(path));
    OnNext();
}

void CEngineAddDlg::accept()
{
    if (!isReviewing())
        return;
    const EngineDefinition d = m_pForm->definition();
    QString error;
    try {
        if (!CUserEngines(m_db).add(d, &error)) {
            showError(error);
            return;
        }
    } catch (const CDaoException &e) {
        // The transaction rolled back: nothing was added, and the dialog keeps what was typed.
        ReportDaoError(e, &m_prompt);
        return;
    }
    m_added = d;
    QDialog::accept();
}

void CEngineAddDlg::reject()
{
    m_pLookup->cancel();
    QDialog::reject();
}

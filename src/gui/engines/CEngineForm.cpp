#include "engines/CEngineForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const char *const kMappingLabels[] = {"&Results array:", "&Title field:", "A&ddress field:", "S&ummary field:"};
const char *const kMappingHints[] = {"data.items", "title", "link", "snippet"};

} // namespace

CEngineForm::CEngineForm(QWidget *parent)
    : QWidget(parent)
    , m_pName(new QLineEdit(this))
    , m_pTemplate(new QLineEdit(this))
    , m_pFormat(new QComboBox(this))
    , m_pMappingBox(new QGroupBox(QStringLiteral("Where the hits are in the JSON answer"), this))
    , m_pInTitle(new QCheckBox(QStringLiteral("intitle:"), this))
    , m_pInUrl(new QCheckBox(QStringLiteral("inurl:"), this))
    , m_pSite(new QCheckBox(QStringLiteral("site:"), this))
    , m_pPageSize(new QSpinBox(this))
    , m_pAbout(new QLabel(this))
{
    m_pName->setObjectName(QStringLiteral("engineName"));
    m_pTemplate->setObjectName(QStringLiteral("engineTemplate"));
    m_pTemplate->setMinimumWidth(m_pTemplate->fontMetrics().averageCharWidth() * 56);
    m_pFormat->setObjectName(QStringLiteral("engineFormat"));
    addFormats(m_pFormat);
    m_pInTitle->setObjectName(QStringLiteral("operatorIntitle"));
    m_pInUrl->setObjectName(QStringLiteral("operatorInurl"));
    m_pSite->setObjectName(QStringLiteral("operatorSite"));
    m_pPageSize->setObjectName(QStringLiteral("enginePageSize"));
    m_pPageSize->setRange(1, EngineDefinition::kMaxPageSize);
    // The description and source come from the network: shown, never interpreted.
    m_pAbout->setObjectName(QStringLiteral("engineAbout"));
    m_pAbout->setTextFormat(Qt::PlainText);
    m_pAbout->setWordWrap(true);
    m_pAbout->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *mappingLayout = new QFormLayout(m_pMappingBox);
    for (int i = 0; i < MappingFields; ++i) {
        m_mapping[i] = new QLineEdit(m_pMappingBox);
        m_mapping[i]->setObjectName(QStringLiteral("mapping%1").arg(i));
        m_mapping[i]->setPlaceholderText(QLatin1String(kMappingHints[i]));
        mappingLayout->addRow(QLatin1String(kMappingLabels[i]), m_mapping[i]);
    }

    auto *operators = new QHBoxLayout;
    operators->addWidget(m_pInTitle);
    operators->addWidget(m_pInUrl);
    operators->addWidget(m_pSite);
    operators->addStretch(1);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_pName);
    form->addRow(QStringLiteral("&Search address:"), m_pTemplate);
    form->addRow(QStringLiteral("&Answers as:"), m_pFormat);
    form->addRow(QStringLiteral("Operators it takes:"), operators);
    form->addRow(QStringLiteral("&Hits per page:"), m_pPageSize);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    layout->addWidget(m_pMappingBox);
    layout->addWidget(m_pAbout);
    layout->addStretch(1);

    connect(m_pFormat, &QComboBox::currentIndexChanged, this, &CEngineForm::showMappingForFormat);
    setDefinition(EngineDefinition{});
}

void CEngineForm::addFormats(QComboBox *combo)
{
    combo->addItem(QStringLiteral("Atom"), QStringLiteral("atom"));
    combo->addItem(QStringLiteral("RSS"), QStringLiteral("rss"));
    combo->addItem(QStringLiteral("JSON"), QStringLiteral("json"));
    combo->addItem(QStringLiteral("mapped JSON"), QStringLiteral("mapped"));
}

JsonMapping CEngineForm::mappingFrom(QLineEdit *const fields[MappingFields])
{
    JsonMapping m;
    m.resultsPath = fields[Results]->text().trimmed();
    m.titlePath = fields[Title]->text().trimmed();
    m.addressPath = fields[Address]->text().trimmed();
    m.summaryPath = fields[Summary]->text().trimmed();
    return m;
}

QString CEngineForm::kindText(const EngineDefinition &definition)
{
    if (definition.mapping)
        return QStringLiteral("mapped JSON");
    switch (definition.format) {
    case FeedFormat::Atom: return QStringLiteral("Atom");
    case FeedFormat::Rss: return QStringLiteral("RSS");
    case FeedFormat::Json: break;
    }
    return QStringLiteral("JSON");
}

QCheckBox *CEngineForm::operatorBox(WebQueryText::Operator op) const
{
    switch (op) {
    case WebQueryText::Operator::InTitle: return m_pInTitle;
    case WebQueryText::Operator::InUrl: return m_pInUrl;
    case WebQueryText::Operator::Site: return m_pSite;
    }
    return nullptr;
}

void CEngineForm::setDefinition(const EngineDefinition &definition)
{
    m_base = definition;
    m_pName->setText(definition.name);
    m_pTemplate->setText(definition.url.templateText);
    m_pTemplate->setCursorPosition(0);
    m_pFormat->setCurrentIndex(qMax(0, m_pFormat->findData(definition.formatName())));
    const JsonMapping mapping = definition.mapping.value_or(JsonMapping{});
    const QString paths[] = {mapping.resultsPath, mapping.titlePath, mapping.addressPath, mapping.summaryPath};
    for (int i = 0; i < MappingFields; ++i)
        m_mapping[i]->setText(paths[i]);
    m_pInTitle->setChecked(definition.operators.testFlag(WebQueryText::Operator::InTitle));
    m_pInUrl->setChecked(definition.operators.testFlag(WebQueryText::Operator::InUrl));
    m_pSite->setChecked(definition.operators.testFlag(WebQueryText::Operator::Site));
    m_pPageSize->setValue(definition.pageSize);
    QStringList about;
    if (!definition.description.isEmpty())
        about << definition.description;
    if (!definition.source.isEmpty())
        about << QStringLiteral("From: ") + definition.source;
    if (definition.url.isPost())
        about << QStringLiteral("Asked with a form POST.");
    m_pAbout->setText(about.join(QLatin1Char('\n')));
    m_pAbout->setVisible(!about.isEmpty());
    showMappingForFormat();
}

EngineDefinition CEngineForm::definition() const
{
    EngineDefinition d = m_base;
    d.name = m_pName->text().trimmed();
    d.url.templateText = m_pTemplate->text().trimmed();
    const QString word = m_pFormat->currentData().toString();
    d.setFormatName(word);
    // A changed format is the answers' type too, so the stored Url stays truthful.
    if (word != m_base.formatName())
        d.url.type = FeedFormats::mediaType(d.format);
    if (d.mapping) {
        const JsonMapping typed = mappingFrom(m_mapping);
        d.mapping->resultsPath = typed.resultsPath;
        d.mapping->titlePath = typed.titlePath;
        d.mapping->addressPath = typed.addressPath;
        d.mapping->summaryPath = typed.summaryPath;
    }
    WebQueryText::Operators ops;
    ops.setFlag(WebQueryText::Operator::InTitle, m_pInTitle->isChecked());
    ops.setFlag(WebQueryText::Operator::InUrl, m_pInUrl->isChecked());
    ops.setFlag(WebQueryText::Operator::Site, m_pSite->isChecked());
    d.operators = ops;
    d.pageSize = m_pPageSize->value();
    return d;
}

void CEngineForm::showMappingForFormat()
{
    m_pMappingBox->setVisible(m_pFormat->currentData().toString() == QLatin1String("mapped"));
}

#pragma once

#include "retrieval/web/EngineDefinition.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The parts of an added engine the user can see and change: name, search address, answer
// format (with the mapping for JSON of other shapes), the operators it takes and its page
// size. What the form does not show (method, Params, offsets, texts) is kept as it came.
class CEngineForm final : public QWidget
{
    Q_OBJECT
public:
    explicit CEngineForm(QWidget *parent = nullptr);

    void setDefinition(const EngineDefinition &definition);
    // The definition it was given with the user's changes.
    EngineDefinition definition() const;

    QLineEdit *nameEdit() const { return m_pName; }
    QLineEdit *templateEdit() const { return m_pTemplate; }
    QComboBox *formatCombo() const { return m_pFormat; }
    QCheckBox *operatorBox(WebQueryText::Operator op) const;
    QSpinBox *pageSizeSpin() const { return m_pPageSize; }
    QLineEdit *mappingEdit(int field) const { return m_mapping[field]; }

    // The four fields of a mapping, in the order of mappingEdit().
    enum MappingField { Results, Title, Address, Summary, MappingFields };

    // Fills a format list: Atom, RSS, JSON and mapped JSON with their stored words as data.
    static void addFormats(QComboBox *combo);
    // The mapping the four fields give.
    static JsonMapping mappingFrom(QLineEdit *const fields[MappingFields]);
    // "Atom", "RSS", "JSON" or "mapped JSON": how the engine list names a definition's kind.
    static QString kindText(const EngineDefinition &definition);

private:
    void showMappingForFormat();

    EngineDefinition m_base;
    QLineEdit *m_pName;
    QLineEdit *m_pTemplate;
    QComboBox *m_pFormat;
    QGroupBox *m_pMappingBox;
    QLineEdit *m_mapping[MappingFields] = {};
    QCheckBox *m_pInTitle;
    QCheckBox *m_pInUrl;
    QCheckBox *m_pSite;
    QSpinBox *m_pPageSize;
    QLabel *m_pAbout;
};

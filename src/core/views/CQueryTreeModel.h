#pragma once

#include "views/CQueryTreeData.h"

#include <QList>
#include <QString>

#include <optional>

class CTrawlexDoc;
class IUserPrompt;

// The query tree's nodes as the tree view asks for them: the top level of an arrangement and
// the children of a group, read from the document's database. Without a database there is
// nothing to list; a database failure is reported once through the prompt (stderr without
// one). Either way no list comes back.
class CQueryTreeModel final
{
public:
    using Entries = QList<CQueryTreeData::Entry>;

    CQueryTreeModel() = default;
    // The objects must outlive the model.
    CQueryTreeModel(CTrawlexDoc *doc, IUserPrompt *prompt);

    std::optional<Entries> topLevel(int nView);
    std::optional<Entries> children(int nView, const QString &key);

private:
    CTrawlexDoc *m_pDoc = nullptr;
    IUserPrompt *m_pPrompt = nullptr;
};

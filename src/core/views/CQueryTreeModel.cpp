#include "CQueryTreeModel.h"

#include "store/CDaoException.h"
#include "store/CTrawlexDoc.h"

namespace {
template <class Read>
std::optional<CQueryTreeModel::Entries> ReadEntries(CTrawlexDoc *doc, IUserPrompt *prompt, Read read)
{
    if (!doc || !doc->HasDatabase())
        return std::nullopt;
    try {
        CQueryTreeData data(doc->Database());
        return read(data);
    } catch (const CDaoException &e) {
        ReportDaoError(e, prompt);
        return std::nullopt;
    }
}
} // namespace

CQueryTreeModel::CQueryTreeModel(CTrawlexDoc *doc, IUserPrompt *prompt)
    : m_pDoc(doc)
    , m_pPrompt(prompt)
{
}

std::optional<CQueryTreeModel::Entries> CQueryTreeModel::topLevel(int nView)
{
    return ReadEntries(m_pDoc, m_pPrompt, [nView](CQueryTreeData &data) { return data.TopLevel(nView); });
}

std::optional<CQueryTreeModel::Entries> CQueryTreeModel::children(int nView, const QString &key)
{
    return ReadEntries(m_pDoc, m_pPrompt, [nView, &key](CQueryTreeData &data) { return data.Children(nView, key); });
}

#include "RunTexts.h"

#include "views/CResultsPaging.h"

#include <algorithm>

namespace RunTexts {

QString initializing() { return QStringLiteral("Initializing"); }
QString ready() { return QStringLiteral("Ready"); }
QString progress(int percent) { return QStringLiteral("Progress %1%").arg(percent); }
QString timedOut() { return QStringLiteral("Error!  Query has timed out!  Try again."); }

QString joinEngineNames(const QStringList &names)
{
    if (names.size() <= 1)
        return names.value(0);
    const QStringList head = names.mid(0, names.size() - 1);
    return head.join(QStringLiteral(", ")) + QStringLiteral(" and ") + names.last();
}

QString completed(const QStringList &failedEngines)
{
    if (failedEngines.isEmpty())
        return QStringLiteral("Query Retrieval completed!");
    return QStringLiteral("Query Retrieval completed!  %1 timed out.").arg(joinEngineNames(failedEngines));
}

int progressPercent(int hitsReceived, int page, int savedCount, int engineCount)
{
    if (engineCount <= 0)
        return 0;
    double got = hitsReceived;
    if (page != 0)
        got += savedCount % (page * CResultsPaging::kHitsPerPage);
    const double percent = got / (engineCount * double(CResultsPaging::kHitsPerPage)) * 100.0;
    return static_cast<int>(std::min(percent, 100.0));
}

} // namespace RunTexts

#include "FeedDelivery.h"

#include "FeedPage.h"

void FeedDelivery::offer(FeedPage &page, const HitSink &deliver, QString title, QString address, QString summary)
{
    ++page.items;
    if (address.isEmpty())
        return;
    if (title.isEmpty())
        title = address;
    ++page.delivered;
    if (deliver)
        deliver(EngineHit{std::move(title), std::move(address), std::move(summary)});
}

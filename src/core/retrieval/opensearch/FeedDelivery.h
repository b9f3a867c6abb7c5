#pragma once

#include "retrieval/engines/EngineHit.h"

#include <QString>

struct FeedPage;

// The last step every result reader shares: counts the item, drops it when it has no web
// address, and hands it over. A hit without a title shows its address instead, so no line
// of the results view is blank.
class FeedDelivery final
{
public:
    FeedDelivery() = delete;

    // `address` is already resolved (HitAddress::resolve); empty means no usable address.
    static void offer(FeedPage &page, const HitSink &deliver, QString title, QString address, QString summary);
};

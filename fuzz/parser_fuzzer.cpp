// Feeds arbitrary bytes to one engine's parser (TRAWLEX_FUZZ_ENGINE). Besides crashes and
// hangs, it stops on output out of proportion to the page: every byte of a page belongs to
// at most one hit, so the text delivered stays within a small multiple of the page's size.

#include "retrieval/engines/EngineParsers.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString engine = QStringLiteral(TRAWLEX_FUZZ_ENGINE);
    const QByteArrayView page(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype hits = 0;
    qsizetype delivered = 0;
    const QString extra = EngineParsers::parse(engine, page, [&](EngineHit &&hit) {
        ++hits;
        delivered += hit.title.size() + hit.url.size() + hit.summary.size();
    });
    // Fields may overlap inside one hit (an address running into its title), and Yahoo adds
    // its fixed summary texts; beyond that, output grows only with the page.
    if (delivered > 3 * qsizetype(size) + 32 * hits)
        std::abort();
    if (hits > qsizetype(size))
        std::abort();
    if (extra.size() > qsizetype(size) + 1)
        std::abort();
    return 0;
}

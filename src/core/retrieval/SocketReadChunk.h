#pragma once

#include <QtGlobal>

// Largest single read from a connection (engines and the version server). The end-of-page
// test looks at the newest read alone, so the size shapes where a page is seen to end.
inline constexpr qint64 kSocketReadChunk = 8191;

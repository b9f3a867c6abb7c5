#pragma once

#include <QEvent>

// Event types of the retrieval, numbered as the window messages they stand for (User + n).
// User+3, +4, +5 and +7 belong to the main frame, the tree view and the version check.
namespace RetrievalMessages {

// Engine thread -> receiver: one hit (CResultPacketEvent).
inline constexpr QEvent::Type WM_ENGINE_HIT = static_cast<QEvent::Type>(QEvent::User + 1);
// Engine thread -> receiver: an engine's completion; from the supervisor with no packet when
// skipping Yahoo emptied the only batch left (CResultPacketEvent).
inline constexpr QEvent::Type WM_ENGINE_DONE = static_cast<QEvent::Type>(QEvent::User + 2);
// HotBot connection -> its own thread's window: repeat the request at the redirected address.
inline constexpr QEvent::Type WM_HOTBOT_REPEAT = static_cast<QEvent::Type>(QEvent::User + 6);
// Supervisor -> receiver: Yahoo was left out of a run for more results because the query has
// no continuation path; count it as ended (CResultPacketEvent, Engine "Yahoo", Extra " ").
inline constexpr QEvent::Type WM_ENGINE_SKIPPED = static_cast<QEvent::Type>(QEvent::User + 8);
// Supervisor -> engine thread's window: stop the engine (the window is closed).
inline constexpr QEvent::Type WM_ENGINE_CLOSE = static_cast<QEvent::Type>(QEvent::User + 9);

} // namespace RetrievalMessages

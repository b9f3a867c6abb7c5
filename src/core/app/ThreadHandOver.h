#pragma once

class QEvent;
class QObject;

// Posting an event to another thread's object: Qt hands the event over under its own locks,
// which the thread checker cannot see when Qt is not built with it, so every write the sender
// made before posting looks like a race to the receiver's first read. These name the hand-over
// to the checker; in other builds they are the plain post and nothing.
namespace ThreadHandOver {

// QCoreApplication::postEvent, after telling the checker the event's contents are handed over.
void postEvent(QObject *receiver, QEvent *event);
// First thing a receiver does with an event that may have come from another thread.
void received(const QEvent *event);

} // namespace ThreadHandOver

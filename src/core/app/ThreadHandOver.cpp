#include "ThreadHandOver.h"

#include <QCoreApplication>
#include <QEvent>

#if defined(__SANITIZE_THREAD__)
#define TRAWLEX_THREAD_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TRAWLEX_THREAD_CHECKER 1
#endif
#endif

#ifdef TRAWLEX_THREAD_CHECKER
extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
#endif

namespace ThreadHandOver {

void postEvent(QObject *receiver, QEvent *event)
{
#ifdef TRAWLEX_THREAD_CHECKER
    __tsan_release(event);
#endif
    QCoreApplication::postEvent(receiver, event);
}

void received(const QEvent *event)
{
#ifdef TRAWLEX_THREAD_CHECKER
    __tsan_acquire(const_cast<QEvent *>(event));
#else
    (void)event;
#endif
}

} // namespace ThreadHandOver

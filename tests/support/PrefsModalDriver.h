#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the modal windows a test opens, in the order it expects them: each expectation names
// the kind of window it answers and what to do with it. A modal window that nobody answers
// within a few seconds is noted and closed, so a test fails instead of hanging.
class PrefsModalDriver final
{
public:
    using Handler = std::function<void(QWidget *)>;

    PrefsModalDriver()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start(10);
    }

    template <typename T>
    void expect(std::function<void(T *)> handler)
    {
        m_queue.enqueue({[](QWidget *w) { return qobject_cast<T *>(w) != nullptr; },
                         [handler](QWidget *w) { handler(qobject_cast<T *>(w)); }});
    }

    qsizetype pending() const { return m_queue.size(); }

    // Windows closed because nothing answered them: "class: title".
    QStringList unanswered;
    int stuckAfterMs = 5000;

private:
    struct Expectation
    {
        std::function<bool(QWidget *)> matches;
        Handler run;
    };

    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (m_busy || !modal || !modal->isVisible()) {
            m_seen = nullptr;
            return;
        }
        if (!m_queue.isEmpty() && m_queue.head().matches(modal)) {
            const Expectation next = m_queue.dequeue();
            m_busy = true;
            QPointer<QWidget> target(modal);
            // Run from a timer of its own, so that windows it opens are answered too.
            QTimer::singleShot(0, [this, next, target] {
                m_busy = false;
                m_seen = nullptr;
                if (target)
                    next.run(target);
            });
            return;
        }
        if (modal != m_seen) {
            m_seen = modal;
            m_since = QDeadlineTimer(stuckAfterMs);
        } else if (m_since.hasExpired()) {
            unanswered << QString::fromLatin1(modal->metaObject()->className()) + QStringLiteral(": ")
                    + modal->windowTitle();
            m_seen = nullptr;
            modal->close();
        }
    }

    QTimer m_timer;
    QQueue<Expectation> m_queue;
    QPointer<QWidget> m_seen;
    QDeadlineTimer m_since;
    bool m_busy = false;
};

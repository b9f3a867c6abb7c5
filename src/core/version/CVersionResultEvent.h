#pragma once

#include <QEvent>

struct VersionResult;

// WM_VERSION_RESULT: posted by the version-check thread to the main frame. The receiver reads
// result() and calls release(); an event destroyed unhandled releases the worker itself, so
// the worker never waits forever.
class CVersionResultEvent final : public QEvent
{
public:
    static constexpr QEvent::Type WM_VERSION_RESULT = static_cast<QEvent::Type>(QEvent::User + 7);

    explicit CVersionResultEvent(VersionResult *result);
    ~CVersionResultEvent() override;

    const VersionResult *result() const { return m_pResult; }
    // Lets the worker go on; result() must not be used afterwards.
    void release();

private:
    VersionResult *m_pResult;
};

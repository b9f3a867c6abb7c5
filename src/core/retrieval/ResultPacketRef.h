#pragma once

#include <atomic>

struct ResultPacket;

// The receiver's hold on a posted packet. Releasing signals the packet's Done event exactly
// once, after which the sender frees the packet; a hold that is dropped without an explicit
// release releases on destruction, so a discarded event can never block its engine thread.
class ResultPacketRef final
{
public:
    ResultPacketRef() = default;
    explicit ResultPacketRef(ResultPacket *packet);
    ~ResultPacketRef();
    ResultPacketRef(ResultPacketRef &&other) noexcept;
    ResultPacketRef &operator=(ResultPacketRef &&other) noexcept;
    ResultPacketRef(const ResultPacketRef &) = delete;
    ResultPacketRef &operator=(const ResultPacketRef &) = delete;

    // The packet until it is released; nullptr afterwards and for the supervisor's empty
    // completion.
    const ResultPacket *get() const { return m_pPacket; }
    const ResultPacket *operator->() const { return m_pPacket; }
    explicit operator bool() const { return m_pPacket != nullptr; }

    // Signals Done; the packet must not be touched afterwards.
    void release();

    // Number of packets released through any hold since start; tests use it to prove that
    // every packet was handed back exactly once.
    static long long releasedCount();

private:
    ResultPacket *m_pPacket = nullptr;
    static std::atomic<long long> s_released;
};

#include "ResultPacketRef.h"

#include "ResultPacket.h"

#include <utility>

std::atomic<long long> ResultPacketRef::s_released{0};

ResultPacketRef::ResultPacketRef(ResultPacket *packet)
    : m_pPacket(packet)
{
}

ResultPacketRef::~ResultPacketRef()
{
    release();
}

ResultPacketRef::ResultPacketRef(ResultPacketRef &&other) noexcept
    : m_pPacket(std::exchange(other.m_pPacket, nullptr))
{
}

ResultPacketRef &ResultPacketRef::operator=(ResultPacketRef &&other) noexcept
{
    if (this != &other) {
        release();
        m_pPacket = std::exchange(other.m_pPacket, nullptr);
    }
    return *this;
}

void ResultPacketRef::release()
{
    if (ResultPacket *packet = std::exchange(m_pPacket, nullptr)) {
        s_released.fetch_add(1, std::memory_order_relaxed);
        packet->Done.Set();
    }
}

long long ResultPacketRef::releasedCount()
{
    return s_released.load(std::memory_order_relaxed);
}

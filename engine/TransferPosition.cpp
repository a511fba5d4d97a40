#include "engine/TransferPosition.h"

void TransferPosition::Store(TransferPhase newPhase, int32_t newZone, int32_t newCycle, int32_t newTransfer,
                             uint64_t newSector)
{
    constexpr auto relaxed = std::memory_order_relaxed;
    zone.store(newZone, relaxed);
    cycle.store(newCycle, relaxed);
    transfer.store(newTransfer, relaxed);
    sector.store(newSector, relaxed);
    phase.store(newPhase, std::memory_order_release);
}

void TransferPosition::Reset()
{
    Store(TransferPhase::None, 0, 0, 0, 0);
    errorNumber.store(0);
}

void TransferPosition::SetZone(TransferPhase newPhase, int32_t newZone, int32_t newCycle, uint64_t newSector)
{
    Store(newPhase, newZone, newCycle, -1, newSector);
}

void TransferPosition::SetRandom(TransferPhase newPhase, int32_t newTransfer, uint64_t newSector)
{
    Store(newPhase, -1, -1, newTransfer, newSector);
}

void TransferPosition::RecordFailure(int newErrorNumber)
{
    errorNumber.store(newErrorNumber);
}

#include "engine/TransferPosition.h"

TransferPosition gTransferPosition;

namespace {
void Store(TransferPhase phase, int32_t zone, int32_t cycle, int32_t transfer, uint64_t sector)
{
    constexpr auto relaxed = std::memory_order_relaxed;
    gTransferPosition.zone.store(zone, relaxed);
    gTransferPosition.cycle.store(cycle, relaxed);
    gTransferPosition.transfer.store(transfer, relaxed);
    gTransferPosition.sector.store(sector, relaxed);
    gTransferPosition.phase.store(phase, std::memory_order_release);
}
}  // namespace

void ResetTransferPosition()
{
    Store(TransferPhase::None, 0, 0, 0, 0);
    gTransferPosition.errorNumber.store(0);
}

void SetZoneTransferPosition(TransferPhase phase, int32_t zone, int32_t cycle, uint64_t sector)
{
    Store(phase, zone, cycle, -1, sector);
}

void SetRandomTransferPosition(TransferPhase phase, int32_t transfer, uint64_t sector)
{
    Store(phase, -1, -1, transfer, sector);
}

void RecordTransferFailure(int errorNumber)
{
    gTransferPosition.errorNumber.store(errorNumber);
}

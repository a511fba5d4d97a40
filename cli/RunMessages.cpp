#include "cli/RunMessages.h"

#include "engine/SurfaceTest.h"
#include "engine/SurfaceTexts.h"
#include "engine/TestRun.h"
#include "format/ByteText.h"

#include <cstdio>
#include <cstring>

std::string GroupedNumber(uint64_t number)
{
    char text[64];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(number));
    InsertThousandsSeparators(text);
    return text;
}

namespace {
std::string ErrorDescription(int errorNumber)
{
    const char* name = strerrorname_np(errorNumber);
    return std::string(std::strerror(errorNumber)) + " (" + (name != nullptr ? name : "errno " + std::to_string(errorNumber)) + ")";
}
}  // namespace

std::string TransferFailureText(const TestRun& testRun)
{
    const TransferPosition& position = testRun.progress.position;
    const int errorNumber = position.errorNumber.load();
    const TransferPhase phase = position.phase.load();
    if (errorNumber == 0 || phase == TransferPhase::None)
        return {};
    const char* what = phase == TransferPhase::Preflight ? "preflight read"
                       : phase == TransferPhase::Read    ? "read"
                                                         : "write";
    std::string where;
    if (const int32_t transfer = position.transfer.load(); transfer >= 0) {
        where = "transfer " + GroupedNumber(static_cast<uint64_t>(transfer) + 1) + " of " +
                GroupedNumber(kRandomTransferCount);
    } else if (position.zone.load() < 0) {
        return std::string(what) + " failed at sector " + GroupedNumber(position.sector.load()) + ": " +
               ErrorDescription(errorNumber);
    } else {
        where = "zone " + std::to_string(position.zone.load() + 1);
        if (const int32_t cycle = position.cycle.load(); cycle >= 0)
            where += ", cycle " + std::to_string(cycle + 1);
    }
    return std::string(what) + " failed at " + where + ", sector " + GroupedNumber(position.sector.load()) +
           ": " + ErrorDescription(errorNumber);
}

std::string ZoneProgressText(const TestRun& testRun)
{
    const TransferPosition& position = testRun.progress.position;
    const TransferPhase phase = position.phase.load(std::memory_order_acquire);
    const int32_t zone = position.zone.load();
    if (phase == TransferPhase::None || zone < 0)
        return {};
    std::string text = "zone " + std::to_string(zone + 1) + " of " + std::to_string(testRun.run.settings.zones);
    if (const int32_t cycle = position.cycle.load(); cycle >= 0)
        text += ", cycle " + std::to_string(cycle + 1) + " of " + std::to_string(testRun.run.settings.cycles);
    return text;
}

std::string SurfaceProgressText(const TestRun& testRun)
{
    const RunProgress& progress = testRun.progress;
    SurfaceResult reached;
    reached.spanSectors = SurfaceSpanSectors(testRun.run.settings, testRun.run.target);
    reached.coveredSectors = progress.surfaceCoveredSectors.load();
    std::string text = "Surface: " + SurfaceCoverageText(reached);
    if (progress.surfaceSpeedNow.load() == 0.0)
        return text;  // nothing measured yet to reckon from
    char figures[128];
    std::snprintf(figures, sizeof figures, ", read %.1f MB/s", progress.surfaceSpeedNow.load());
    text += figures;
    if (testRun.run.settings.writes) {
        std::snprintf(figures, sizeof figures, ", write %.1f MB/s", progress.surfaceWriteSpeedNow.load());
        text += figures;
    }
    const auto left = static_cast<uint64_t>(progress.surfaceSecondsLeft.load() + 0.5);
    if (left >= 3600)
        std::snprintf(figures, sizeof figures, ", %llu h %02llu min left", static_cast<unsigned long long>(left / 3600),
                      static_cast<unsigned long long>(left % 3600 / 60));
    else if (left >= 60)
        std::snprintf(figures, sizeof figures, ", %llu min %02llu s left", static_cast<unsigned long long>(left / 60),
                      static_cast<unsigned long long>(left % 60));
    else
        std::snprintf(figures, sizeof figures, ", %llu s left", static_cast<unsigned long long>(left));
    return text + figures;
}

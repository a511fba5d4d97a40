// Two runs at once in one process, each on a loop drive of its own with
// writes: each has its own results and its own report, and each device ends
// as it was.
#include "LoopDevice.h"

#include "engine/RunExecution.h"
#include "engine/RunObserver.h"
#include "engine/RunPreparation.h"
#include "engine/TestRun.h"
#include "reports/ReportText.h"

#include <gtest/gtest.h>

#include <latch>

namespace {

// Holds each run at its start until the other has started too, so that they
// certainly transfer at the same time, and counts its zones.
class MeetingObserver final : public RunObserver {
public:
    explicit MeetingObserver(std::latch& bothStarted) : bothStarted_(bothStarted) {}
    void Started(const TestRun&) override { bothStarted_.arrive_and_wait(); }
    void ZoneMeasured(const TestRun&, int32_t, TransferPhase) override { ++zonesMeasured; }
    void Finished(const TestRun&) override { ++finished; }

    int zonesMeasured = 0;
    int finished = 0;

private:
    std::latch& bothStarted_;
};

TEST(TwoRunsAtOnce, EachLoopDriveHasItsOwnResultsReportAndUnchangedData)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    struct Drive {
        uint64_t bytes;
        int32_t zones;
        uint32_t megabytes;
    };
    const Drive drives[2] = {{64ull << 20, 4, 2}, {48ull << 20, 3, 1}};
    std::vector<std::unique_ptr<LoopDevice>> loops;
    std::vector<std::string> before;
    std::vector<std::unique_ptr<TestRun>> runs;
    std::latch bothStarted(2);
    std::vector<std::unique_ptr<MeetingObserver>> observers;
    for (const Drive& drive : drives) {
        loops.push_back(std::make_unique<LoopDevice>(drive.bytes, "--direct-io=on"));
        ASSERT_TRUE(loops.back()->attached()) << loops.back()->error();
        ASSERT_TRUE(loops.back()->FillWithPattern());
        before.push_back(loops.back()->Checksum());
        LaunchTarget target;
        target.devicePath = loops.back()->node();
        PreparedRun prepared = PrepareRun(
            target, {.zones = drive.zones, .cycles = 2, .transferMegabytes = drive.megabytes, .writes = true}, {});
        ASSERT_TRUE(prepared.run) << prepared.refusal->detail;
        runs.push_back(std::move(prepared.run));
        observers.push_back(std::make_unique<MeetingObserver>(bothStarted));
    }
    for (size_t i = 0; i < 2; ++i)
        ASSERT_TRUE(StartRunWorker(*runs[i], *observers[i]));
    for (size_t i = 0; i < 2; ++i)
        JoinRunWorker(*runs[i]);

    std::vector<std::string> reports;
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const ::Run run = runs[i]->run;  // the value outlives the run's descriptors
        EXPECT_EQ(run.end, RunEnd::Completed);
        EXPECT_EQ(observers[i]->finished, 1);
        EXPECT_EQ(observers[i]->zonesMeasured, drives[i].zones * 2 * 2) << "a read and a write per zone and cycle";
        EXPECT_EQ(run.MeasuredZoneCount(), drives[i].zones);
        EXPECT_EQ(run.target.sizeBytes, drives[i].bytes);
        EXPECT_EQ(run.target.devicePath, loops[i]->node());
        EXPECT_TRUE(run.zones.back().WriteMeasured());
        EXPECT_EQ(run.zones.back().lastSector + 1 - run.zones.back().firstSector, drives[i].megabytes * 2048u);
        runs[i].reset();  // closed before the device is read
        EXPECT_EQ(loops[i]->Checksum(), before[i]);
        // Each report, from its own run.
        reports.push_back(TextReportBody(run));
    }
    for (size_t i = 0; i < 2; ++i) {
        const std::string lastZone = "Measurement Zone:\t" + std::to_string(drives[i].zones) + "\r";
        const std::string pastLast = "Measurement Zone:\t" + std::to_string(drives[i].zones + 1) + "\r";
        EXPECT_NE(reports[i].find(lastZone), std::string::npos) << reports[i];
        EXPECT_EQ(reports[i].find(pastLast), std::string::npos) << reports[i];
    }
}

}  // namespace

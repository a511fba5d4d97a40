// Run documents of version 2 carry a surface run whole; documents of version
// 1, written before the surface test, still read.
#include "KnownSurfaceRun.h"
#include "reports/RunHistory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>

namespace {

const std::string kSchema = KESTRELIA_SOURCE_DIR "/docs/run-document.schema.json";

bool MatchesSchema(const std::string& path)
{
    return std::system((KESTRELIA_SOURCE_DIR "/tests/support/validate-run-documents " + kSchema + " " + path).c_str()) == 0;
}

TEST(SurfaceDocument, ASurfaceRunComesBackAsItWasAndMatchesTheSchema)
{
    ::Run measured = KnownSurfaceRun();
    measured.started = measured.ended;
    measured.end = RunEnd::Stopped;
    measured.surface.coveredSectors = 758000;
    measured.surface.samples[7] = {14000, 2000, 3, 31.2f, 47.123f, 80.0f, 0.1f, 20.0f, 1e-3f};
    const RunDocument document = CaptureRunDocument(measured);
    EXPECT_EQ(RunSummary(document), "2026-12-05 19:48 UTC, Surface test, first 0.4 GB, 1 MB, reads and writes");

    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kestrelia-surface-" + std::to_string(getpid()) + ".json")).string();
    ASSERT_TRUE(WriteRunDocumentFile(path, document).ok());
    std::string why;
    const std::optional<RunDocument> back = ReadRunDocumentFile(path, &why);
    ASSERT_TRUE(back) << why;
    ::Run restored = RunFromDocument(*back);
    EXPECT_EQ(restored.target.sizeLabel, "488.281 Megabytes");
    restored.target.sizeLabel = measured.target.sizeLabel;
    EXPECT_EQ(restored, measured) << "every sample, figure and list, and how the run ended";
    EXPECT_TRUE(MatchesSchema(path));
    std::remove(path.c_str());

    EXPECT_EQ(RunComparabilityProblem(*back, TestKind::Surface, 0), "");
    EXPECT_EQ(RunComparabilityProblem(*back, TestKind::Standard, 1), "a surface test");
}

TEST(SurfaceDocument, AnOlderDocumentStillReadsAndSurfaceContentIsChecked)
{
    const std::string old = KESTRELIA_SOURCE_DIR "/tests/reports/data/run-document-version-1.json";
    std::string why;
    const std::optional<RunDocument> document = ReadRunDocumentFile(old, &why);
    ASSERT_TRUE(document) << why;
    const ::Run run = RunFromDocument(*document);
    EXPECT_EQ(run.settings.kind, TestKind::Standard);
    EXPECT_EQ(run.MeasuredZoneCount(), 2);
    EXPECT_EQ(run.zones[1].read.average, 180.25);
    EXPECT_TRUE(MatchesSchema(old));

    const std::string good = RunDocumentToJson(CaptureRunDocument(KnownSurfaceRun()));
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const auto refused = [&why](const std::string& text, const char* reason) {
        return !RunDocumentFromJson(text, &why) && why.find(reason) != std::string::npos;
    };
    EXPECT_TRUE(refused(replaced("\"format_version\":2", "\"format_version\":1"), "unknown test kind \"surface\"")) << why;
    EXPECT_TRUE(refused(replaced("[0,2000,1,80,80,80,60,60,60]", "[0,2000,1,80,80,80,60,60]"), "a sample of 8")) << why;
    EXPECT_TRUE(refused(replaced("[2000,2000,1,", "[0,2000,1,"), "samples out of order")) << why;
}

}  // namespace

// The run history lists a surface run from its document without the
// samples, which reading the document still gives; a drive name that looks
// like the samples' key changes nothing.
#include "KnownSurfaceRun.h"
#include "reports/RunHistory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

TEST(HistoryListing, ListsASurfaceRunWithoutItsSamplesWhichItsDocumentKeeps)
{
    std::string root = (std::filesystem::temp_directory_path() / "kestrelia-listing-XXXXXX").string();
    ASSERT_NE(::mkdtemp(root.data()), nullptr);
    unsetenv("PKEXEC_UID");
    unsetenv("SUDO_UID");
    ::Run run = KnownSurfaceRun();
    run.target.name = "Disk \"samples\":[1]";
    const RunDocument document = CaptureRunDocument(run);
    std::ostringstream notes;
    std::string why;
    const std::string path = SaveRunToHistory(root, document, NowMilliseconds(), &why, notes);
    ASSERT_FALSE(path.empty()) << why;

    const std::vector<HistoryEntry> listed = ListDriveHistory(root, document.identity, notes);
    ASSERT_EQ(listed.size(), 1u) << notes.str();
    ::Run withoutSamples = run;
    withoutSamples.surface.samples.clear();
    EXPECT_EQ(RunFromDocument(listed[0].run), RunFromDocument(CaptureRunDocument(withoutSamples)));
    const std::optional<RunDocument> whole = ReadRunDocumentFile(path, &why);
    ASSERT_TRUE(whole) << why;
    EXPECT_EQ(whole->surface->samples, run.surface.samples);
    std::filesystem::remove_all(root);
}

}  // namespace

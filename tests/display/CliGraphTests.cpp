// kestrelia-cli --graph on a file this test creates in /tmp (nothing is saved
// under /dev; a device as the picture is refused in tests/cli).
#include "display/GraphColors.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int RunCli(const std::string& arguments)
{
    const int status = std::system((std::string(KESTRELIA_CLI_PATH) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliGraph, GraphsThatCannotBeMadeAreRefusedAndAFinishedTestIsDrawn)
{
    const auto folder = std::filesystem::path("/tmp") / ("kestrelia-graph-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const struct Removed { std::filesystem::path folder; ~Removed() { std::filesystem::remove_all(folder); } } removed{folder};
    const std::string target = (folder / "target.img").string();
    std::ofstream(target).close();
    std::filesystem::resize_file(target, 64ull << 20);
    const std::string picture = (folder / "zones.png").string();
    for (const std::string& refused : {"--test random --graph " + picture + " " + target, target + " --graph"})
        EXPECT_EQ(RunCli(refused), 2) << refused;
    EXPECT_FALSE(std::filesystem::exists(picture));

    ASSERT_EQ(RunCli("--zones 3 --write --graph " + picture + " " + target), 0);
    const QImage image(QString::fromStdString(picture));
    EXPECT_EQ(image.size(), QSize(784, 452));
    // The picture's chart starts at (96, 88) and is 630 x 300 pixels: zone 1
    // stands at its left edge.
    EXPECT_EQ(image.pixelColor(100, 387).rgb(), myRedColor.rgb());
}

}  // namespace

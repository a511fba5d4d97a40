// kestrelia-cli --graph on a file this test creates in /tmp (nothing is saved under /dev).
#include "display/GraphColors.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A 64 MiB file of its own, removed with the pictures afterwards.
class CliGraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::path("/tmp") / ("kestrelia-graph-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        target = folder / "target.img";
        std::ofstream(target).close();
        std::filesystem::resize_file(target, 64ull << 20);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    int Run(const std::string& arguments)
    {
        const std::string command = std::string(KESTRELIA_CLI_PATH) + " " + arguments + " > " +
                                    (folder / "out.txt").string() + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::filesystem::path folder, target;
};

TEST_F(CliGraphTest, FinishedTestIsDrawnIntoThePicture)
{
    const auto picture = folder / "zones.png";
    ASSERT_EQ(Run("--zones 3 --write --graph " + picture.string() + " " + target.string()), 0);
    const QImage image(QString::fromStdString(picture.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(784, 452));
    // The picture's chart starts at (96, 88) and is 630 x 300 pixels: zone 1
    // stands at its left edge.
    EXPECT_EQ(image.pixelColor(100, 387).rgb(), myRedColor.rgb());
}

TEST_F(CliGraphTest, GraphsThatCannotBeMadeAreRefusedBeforeTheTest)
{
    // Arguments before the target; PICTURE stands for a path in the test's folder.
    const std::pair<const char*, const char*> rows[] = {
        {"random_test", "--test random --graph PICTURE"},
        {"no_path", "--graph"},
    };
    for (const auto& [name, given] : rows) {
        std::string arguments = given;
        const auto picture = folder / (std::string(name) + ".png");
        if (const auto at = arguments.find("PICTURE"); at != std::string::npos)
            arguments.replace(at, 7, picture.string());
        const bool last = name == std::string("no_path");
        EXPECT_EQ(Run(last ? target.string() + " " + arguments : arguments + " " + target.string()), 2) << name;
        EXPECT_FALSE(std::filesystem::exists(picture)) << name;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);  // QImage reads the PNG without it, QColor needs none
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

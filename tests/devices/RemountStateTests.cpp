// The state file of unmounted volumes gives every path back as it was, with
// the tabs, line ends and backslashes a mount point may hold.
#include "devices/RemountState.h"

#include <gtest/gtest.h>

TEST(RemountStateText, PathsWithTabsLineEndsAndBackslashesComeBack)
{
    RememberedMount mount;
    mount.device = "/dev/sdb1";
    mount.target = "/media/u/My\tDisk\nTwo\\";
    mount.root = "/one\\two";
    pid_t pid = 0;
    uint64_t started = 0;
    std::vector<RememberedMount> read;
    ASSERT_TRUE(ParseStateText(StateText(42, 7, {mount}), &pid, &started, &read));
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ(mount.target, read[0].target);
    EXPECT_EQ(mount.root, read[0].root);
}

// Names for the drives of a run of several targets: the short name each is
// known by in tables and file names, and the files the user named, made one
// per drive.
#pragma once

#include <string>
#include <vector>

// The short names of the targets, in order: the kernel's name of the node a
// target leads to ("sdb" for /dev/sdb or a /dev/disk/by-id link to it), or a
// file's name. Two targets that share a name (files of the same name in two
// folders) get "-2", "-3" added to the later ones, so every name is distinct.
std::vector<std::string> DriveNamesOf(const std::vector<std::string>& targets);

// The file a drive's output goes to: its name added before the extension
// ("r.txt" and "sdb" give "r-sdb.txt", "out/graph" gives "out/graph-sdb").
std::string PathForDrive(const std::string& path, const std::string& driveName);

// Targets that lead to the same node (a drive given twice, also through a
// link), as "A and B are the same drive"; empty when none.
std::string SameDriveTwice(const std::vector<std::string>& targets);

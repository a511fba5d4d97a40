// The processes running now, by id, as /proc lists them.
#pragma once

#include <sys/types.h>
#include <vector>

// Every process id in /proc, in ascending order (threads are not listed).
std::vector<pid_t> RunningProcessIds();

// kestrelia-cli as it is started: a small program that holds the stop signals
// back while the program proper and its libraries are loaded (milliseconds,
// more on a busy machine), so that no SIGINT, SIGTERM or SIGHUP at start-up
// ends it unhandled. The program proper installs its
// handlers before any of its libraries initialises and then lets the held
// signals through (cli/main.cpp). It keeps this process, its id and arguments.
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

namespace {
// Called by the dynamic loader before this program's few libraries initialise.
void HoldStopSignals(int, char**, char**)
{
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stops, signalNumber);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
}

[[gnu::section(".preinit_array"), gnu::used]] void (*const kHoldStopSignalsFirst)(int, char**, char**) =
    HoldStopSignals;
}  // namespace

int main(int, char** argv)
{
    // Beside it as installed (bin/ and libexec/kestrelia/) and in the build tree.
    char program[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    program[length > 0 ? length : 0] = '\0';
    char* const name = std::strrchr(program, '/');
    const std::size_t room = name == nullptr ? 0 : sizeof program - static_cast<std::size_t>(name + 1 - program);
    if (std::strlen(KESTRELIA_CLI_PROGRAM) >= room) {
        std::fprintf(stderr, "kestrelia-cli: cannot tell where it lies (/proc/self/exe)\n");
        return 1;
    }
    std::strcpy(name + 1, KESTRELIA_CLI_PROGRAM);
    execv(program, argv);
    std::fprintf(stderr, "kestrelia-cli: %s: %s\n", program, std::strerror(errno));
    return 1;
}

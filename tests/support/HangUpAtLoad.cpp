// Preloaded into the programs by their tests: a hangup while the program's
// libraries initialise, long before main.
#include <csignal>

[[gnu::constructor]] static void HangUpAtLoad()
{
    std::raise(SIGHUP);
}

// SIGTERM, SIGINT and SIGHUP end the event loop like the Quit command, so a
// running test is stopped, its volumes are mounted back and the preferences saved.
#pragma once

void QuitOnTerminationSignals();

// SIGTERM, SIGINT and SIGHUP end the event loop like the Quit command, so a
// running test is stopped, its volumes are mounted back and the preferences saved.
#pragma once

// Catches the signals from the very start, before the event loop exists: one
// that comes meanwhile is kept and ends the loop as soon as it runs.
void CatchTerminationSignals();

// Ends the event loop on every signal caught; called just before it runs.
void QuitOnTerminationSignals();

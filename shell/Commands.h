// The user's actions and the system's notices turned into calls on the rest
// of the program: Start/Stop, the gear button and the options sheet, the
// test kind, the menu commands, the read-only question's answers, the
// test-finished notice, closing the window, drives and volumes coming and going.
#pragma once

#include <cstdint>
#include <functional>

class QString;

// What the command layer hands on to the save dialog.
struct CommandHooks {
    std::function<void(int32_t format)> saveResults;  // 'word' (1) and 'xcel' (2)
};

// Connects the main window's controls, menu commands, the read-only sheet's
// answers and the test-finished notice. The windows must be built.
void InstallCommandHandlers(CommandHooks hooks);

// Starts watching drives (kernel device events) and mounts; the drive popup
// is filled from the drive list.
void StartDeviceWatching();

// Before the program ends: a running test is stopped and cleaned up (so its
// volumes are mounted back), then the preferences are saved.
void ShutDownCommands();

// Shared set-up of the toolkit's window tests: one task started for the
// whole test program, the debug log captured in a file, and helpers that
// pump messages and send clicks and keys the way the platform does.
#pragma once
#include <windows.h>
#include <string>

#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

// Starts the task once (name and title "Quillmere", resources of the test
// program) and fails the test when start-up fails.
void start_task();
// The debug log written since the last call (or since the start).
std::string log_since_mark();
void log_mark();
// Runs poll_once while messages are waiting (at most `limit` polls).
void pump(int limit = 200);
// Polls until `done` is true or `centiseconds` have passed; true when done.
bool poll_until(bool (*done)(), int centiseconds);
// A client point of a window in pixels as a mouse message's lparam.
LPARAM client_point(int x, int y);

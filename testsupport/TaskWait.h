#pragma once
// A test's wait for a background task that keeps the event loop running, so
// timers tick and updates the task hands to the UI thread arrive.
#include "base/BackgroundTask.h"

// Runs the event loop until the task ends or `timeoutMs` passes (0 means no
// limit). Returns true exactly when the task has ended. Pending events are
// processed at least once, even when the task had already ended. Waits nest.
bool waitForTask(const BackgroundTask::Handle& task, int timeoutMs = 0);

// The error manager every file manager reports through, and its per-thread
// status. The entry point initialises GlobalErrors with GlobalErrorStatus.
#pragma once

#include "framework/error_class.h"

extern fw::ErrorClass GlobalErrors;
extern thread_local fw::ErrorStatusClass GlobalErrorStatus;

// The calling thread's GlobalErrorStatus (what GlobalErrors.Init is given).
fw::ErrorStatusClass& CurrentGlobalErrorStatus();

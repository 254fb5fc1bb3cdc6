#include "dictionary/globals.h"

fw::ErrorClass GlobalErrors;
thread_local fw::ErrorStatusClass GlobalErrorStatus;

fw::ErrorStatusClass& CurrentGlobalErrorStatus() { return GlobalErrorStatus; }

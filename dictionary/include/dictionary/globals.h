// The program's global objects and variables. They are defined here, below
// the procedures and the entry point, because the file managers and every
// procedure use them; the entry point (app/) initialises them in order.
#pragma once

#include <cstdint>

#include "framework/error_class.h"
#include "framework/ini_class.h"
#include "store/field_types.h"

// Process-wide.
extern fw::ErrorClass GlobalErrors;
extern fw::INIClass INIMgr;
extern fw::FuzzyClass FuzzyMatcher;
// The signed-in teacher's name, or the not-found message; 80 spaces at start.
extern store::String<80> AUXILIAR_DOCENTE;

// Per thread.
extern thread_local fw::ErrorStatusClass GlobalErrorStatus;
extern thread_local std::uint8_t GlobalRequest;   // the request for the next procedure called
extern thread_local std::uint8_t GlobalResponse;  // the response of the last procedure that returned
extern thread_local std::int32_t VCRRequest;      // navigation request of a window and its toolbar

// Responses of the request/response convention.
constexpr std::uint8_t RequestCompleted = 1;
constexpr std::uint8_t RequestCancelled = 2;

// A procedure starts: its name goes on GlobalErrors' stack and the thread's
// files registry starts recording its uses of the files. EndProcedure undoes both.
void BeginProcedure(const char* name);
void EndProcedure();

// The calling thread's GlobalErrorStatus (what GlobalErrors.Init is given).
fw::ErrorStatusClass& CurrentGlobalErrorStatus();

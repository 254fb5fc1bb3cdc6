#include "dictionary/globals.h"

#include "framework/file_manager.h"

fw::ErrorClass GlobalErrors;
fw::INIClass INIMgr;
fw::FuzzyClass FuzzyMatcher;
store::String<80> AUXILIAR_DOCENTE = [] {
  store::String<80> s;
  s.assign("");
  return s;
}();

thread_local fw::ErrorStatusClass GlobalErrorStatus;
thread_local std::uint8_t GlobalRequest = 0;
thread_local std::uint8_t GlobalResponse = 0;
thread_local std::int32_t VCRRequest = 0;

fw::ErrorStatusClass& CurrentGlobalErrorStatus() { return GlobalErrorStatus; }

void BeginProcedure(const char* name) {
  GlobalErrors.SetProcedureName(name);
  fw::FilesManager::Current().EnterProcedure();
}

void EndProcedure() {
  fw::FilesManager::Current().LeaveProcedure();
  GlobalErrors.SetProcedureName();
}

// Start-up and shutdown.
//
//   process start: AUXILIAR_DOCENTE spaces; FuzzyMatcher, GlobalErrors, INIMgr constructed
//   EntryPoint:    GlobalErrors.Init → FuzzyMatcher.Init → INIMgr.Init → DctInit
//                  → drag setting off (if on) → Main → INIMgr.Update → drag setting on
//                  → INIMgr.Kill → FuzzyMatcher.Kill
//   thread end:    Dictionary destroyed (DctKill)
#include "kamoapp.h"

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "platform/desktop.h"
#include "procedures/procedures.h"

namespace {
std::int32_t LCURRENTFDSETTING = 0;  // the dragging setting found at start-up
}  // namespace

void EntryPoint() {
  GlobalErrors.Init(&CurrentGlobalErrorStatus);
  FuzzyMatcher.Init();
  FuzzyMatcher.SetOption(1, true);   // case-insensitive matching
  FuzzyMatcher.SetOption(2, false);  // whole-word-only matching
  INIMgr.Init("KAMOAPP.INI", 0, 0);
  DctInit();
  StartDictionaryForThread();  // its end runs DctKill
  LCURRENTFDSETTING = platform::dragFullWindows();
  if (LCURRENTFDSETTING == 1) platform::setDragFullWindows(false);
  Main();
  INIMgr.Update();
  if (LCURRENTFDSETTING == 1) platform::setDragFullWindows(true);
  INIMgr.Kill();
  FuzzyMatcher.Kill();
}

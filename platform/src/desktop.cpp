#include "platform/desktop.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

#ifdef _WIN32
int dragFullWindows() {
  BOOL on = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
  return on ? 1 : 0;
}

void setDragFullWindows(bool on) {
  static int block = 0;  // the parameter block the call is given; nobody reads it
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, on ? 1 : 0, &block, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}
#else
int dragFullWindows() { return 0; }
void setDragFullWindows(bool) {}
#endif

}  // namespace platform

// Windows calls this when it loads or unloads the library. The module handle
// it brings is where the editor's images live and whose window class the
// toolkit registers; nothing else happens here.
#include <windows.h>

#include "resources/library_module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD /*reason*/, LPVOID /*reserved*/) {
  murkfell::libraryModule = module;
  return TRUE;
}

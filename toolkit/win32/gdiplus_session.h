// GDI+ must be started before its first object is made and shut down only
// after its last one is gone. Every toolkit object that owns GDI+ objects
// holds the session for its lifetime; the first holder starts GDI+ and the
// last one to let go shuts it down. Never from DllMain.
#pragma once

void holdGdiplus();
void releaseGdiplus();

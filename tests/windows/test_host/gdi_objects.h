// How many GDI objects (device contexts, bitmaps, brushes, fonts, regions …)
// the process holds.
#pragma once

unsigned gdiObjectCount();

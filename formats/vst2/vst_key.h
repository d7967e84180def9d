// Keys as VST 2.4 hosts send them, translated for the editor's views.
#pragma once

#include "formats/vst2/aeffect.h"
#include "toolkit/c_key_code.h"

CKeyCode toolkitKey(const VstKeyCode& key);

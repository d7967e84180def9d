#include "toolkit/c_font_desc.h"

namespace {
const CFontDesc systemFont("Arial", 12, kNormalFace);
}

const CFontRef kSystemFont = &systemFont;

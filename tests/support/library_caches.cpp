// cairo and fontconfig keep process-wide font caches that they never free on
// their own; releasing them at the end of the run lets LeakSanitizer report
// only what the toolkit itself leaked.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

class ReleaseLibraryCaches : public ::testing::Environment {
 public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ReleaseLibraryCaches);

}  // namespace

// cairo's Xlib backend loses 32 bytes of its own bookkeeping per display
// connection after some image uploads (cairo 1.16); present() allocates
// nothing else. The sanitizers read these hooks in sanitizer builds; the full
// unwinder is needed to see past cairo, which has no frame pointers.
extern "C" [[gnu::visibility("default")]] const char* __lsan_default_suppressions() {
  return "leak:X11Window::present\n";
}
extern "C" [[gnu::visibility("default")]] const char* __asan_default_options() {
  return "fast_unwind_on_malloc=0";
}

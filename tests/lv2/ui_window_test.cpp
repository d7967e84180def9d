// The editor as an LV2 host shows it: the UI binary loaded from the bundle,
// instantiated inside a parent window of the host's, driven by idle calls,
// told of port changes, and clicked through XTest.
// GoogleTest comes before Xlib, whose macros (None, Bool) would clash with it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
// clang-format on
#include <dlfcn.h>
#include <lv2/ui/ui.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "formats/lv2/bundle_identity.h"
#include "formats/lv2/port_table.h"

namespace {

using namespace murkfell::lv2;

constexpr int kWidth = 340;
constexpr int kHeight = 400;
constexpr std::pair<int, int> kLamp{170, 200};
constexpr std::pair<int, int> kFootswitch{170, 300};
constexpr std::pair<int, int> kLogo{95, 345};
constexpr std::pair<int, int> kGainKnobEdge{72, 122};

class UiWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "needs an X server: run the tests under xvfb-run";
    parent =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, kWidth, kHeight, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    library = dlopen(MURKFELL_LV2_BUNDLE "/murkfell_ui.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto entry = reinterpret_cast<const LV2UI_Descriptor* (*)(std::uint32_t)>(
        dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(entry, nullptr);
    descriptor = entry(0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_EQ(entry(1), nullptr);
    const auto* idleInterface =
        static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idleInterface, nullptr);
    idleFunction = idleInterface->idle;
    ui = instantiate(hostFeatures(true).data());
    ASSERT_NE(ui, nullptr);
    ASSERT_TRUE(idleUntil([this] { return shown(); }));
  }
  void TearDown() override {
    if (ui != nullptr) descriptor->cleanup(ui);
    if (library != nullptr) dlclose(library);
    if (parent != 0) XDestroyWindow(display, parent);
    if (display != nullptr) XCloseDisplay(display);
  }

  // The features a host like jalv offers; the parent only when asked.
  std::vector<const LV2_Feature*> hostFeatures(bool withParent) {
    features = {{LV2_UI__touch, &touchFeature},
                {LV2_UI__resize, &resizeFeature},
                {LV2_UI__idleInterface, nullptr},
                {LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))}};
    std::vector<const LV2_Feature*> list;
    for (const LV2_Feature& feature : features) {
      if (withParent || feature.URI != std::string_view(LV2_UI__parent)) list.push_back(&feature);
    }
    list.push_back(nullptr);
    return list;
  }
  LV2UI_Handle instantiate(const LV2_Feature* const* offered, const char* plugin = kPluginUri) {
    return descriptor->instantiate(descriptor, plugin, MURKFELL_LV2_BUNDLE "/", recordWrite, this,
                                   &widget, offered);
  }

  static void recordWrite(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                          std::uint32_t protocol, const void* buffer) {
    auto* self = static_cast<UiWindow*>(controller);
    ASSERT_EQ(size, sizeof(float));
    ASSERT_EQ(protocol, 0u);
    self->writes.emplace_back(port, *static_cast<const float*>(buffer));
  }
  static void recordTouch(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed) {
    static_cast<UiWindow*>(handle)->touches.emplace_back(port, grabbed);
  }
  static int recordResize(LV2UI_Feature_Handle handle, int width, int height) {
    static_cast<UiWindow*>(handle)->resizes.emplace_back(width, height);
    return 0;
  }

  Window editorWindow() const {
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget));
  }
  bool shown() {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, editorWindow(), &attributes) != 0 &&
           attributes.map_state == IsViewable && attributes.width == kWidth &&
           attributes.height == kHeight;
  }
  template <typename Condition>
  bool idleUntil(Condition done) {
    for (int i = 0; i < 150; ++i) {
      idleFunction(ui);
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  void settle() {
    for (int i = 0; i < 10; ++i) {
      idleFunction(ui);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  unsigned long pixel(std::pair<int, int> at) {
    settle();
    XImage* image =
        XGetImage(display, editorWindow(), at.first, at.second, 1, 1, AllPlanes, ZPixmap);
    const unsigned long value = image != nullptr ? XGetPixel(image, 0, 0) : 0;
    if (image != nullptr) XDestroyImage(image);
    return value;
  }
  void portEvent(PortIndex port, float value) {
    descriptor->port_event(ui, port, sizeof(float), 0, &value);
  }
  void click(std::pair<int, int> at) {
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, parent, DefaultRootWindow(display), at.first, at.second, &rootX,
                          &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XFlush(display);
    settle();
    for (bool down : {true, false}) {
      XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
      XFlush(display);
      settle();
    }
  }

  Display* display = nullptr;
  Window parent = 0;
  void* library = nullptr;
  const LV2UI_Descriptor* descriptor = nullptr;
  int (*idleFunction)(LV2UI_Handle) = nullptr;
  LV2UI_Handle ui = nullptr;
  LV2UI_Widget widget = nullptr;
  LV2UI_Touch touchFeature{this, recordTouch};
  LV2UI_Resize resizeFeature{this, recordResize};
  std::vector<LV2_Feature> features;
  std::vector<std::pair<std::uint32_t, float>> writes;
  std::vector<std::pair<std::uint32_t, bool>> touches;
  std::vector<std::pair<int, int>> resizes;
};

TEST_F(UiWindow, OpensInsideTheHostsWindowAndTellsItsSize) {
  Window root = 0;
  Window parentOfEditor = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  XQueryTree(display, editorWindow(), &root, &parentOfEditor, &children, &count);
  if (children != nullptr) XFree(children);
  EXPECT_EQ(parentOfEditor, parent);
  EXPECT_EQ(resizes, (std::vector<std::pair<int, int>>{{kWidth, kHeight}}));
  EXPECT_EQ(idleFunction(ui), 0);
  EXPECT_TRUE(writes.empty());
}

TEST_F(UiWindow, NeedsTheHostsWindowAndThePedal) {
  LV2UI_Widget unused = nullptr;
  std::swap(widget, unused);
  EXPECT_EQ(instantiate(hostFeatures(false).data()), nullptr);
  EXPECT_EQ(instantiate(hostFeatures(true).data(), "urn:another:plugin"), nullptr);
  std::swap(widget, unused);
}

TEST_F(UiWindow, AClickOnTheFootswitchWritesBypassInsideATouch) {
  const unsigned long lit = pixel(kLamp);
  click(kFootswitch);
  EXPECT_EQ(writes, (std::vector<std::pair<std::uint32_t, float>>{{kBypassPort, 1.0f}}));
  EXPECT_EQ(touches, (std::vector<std::pair<std::uint32_t, bool>>{{kBypassPort, true},
                                                                  {kBypassPort, false}}));
  EXPECT_NE(pixel(kLamp), lit) << "the lamp goes dark with the pedal bypassed";
}

TEST_F(UiWindow, TheLampFollowsBypassAndTheHostsEnable) {
  const unsigned long lit = pixel(kLamp);
  portEvent(kBypassPort, 1.0f);
  const unsigned long dark = pixel(kLamp);
  EXPECT_NE(dark, lit);
  portEvent(kBypassPort, 0.0f);
  EXPECT_EQ(pixel(kLamp), lit);
  portEvent(kEnabledPort, 0.0f);
  EXPECT_EQ(pixel(kLamp), dark);
  portEvent(kEnabledPort, 1.0f);
  EXPECT_EQ(pixel(kLamp), lit);
  EXPECT_TRUE(writes.empty()) << "what the host said is not written back";
}

TEST_F(UiWindow, KnobsFollowTheirPortsAndIgnoreOtherFormats) {
  const unsigned long half = pixel(kGainKnobEdge);
  const float full = 1.0f;
  descriptor->port_event(ui, kGainPort, sizeof(float), 1, &full);  // not the float protocol
  descriptor->port_event(ui, kNumPorts, sizeof(float), 0, &full);
  EXPECT_EQ(pixel(kGainKnobEdge), half);
  portEvent(kGainPort, 0.0f);
  EXPECT_NE(pixel(kGainKnobEdge), half);
  portEvent(kGainPort, 0.5f);
  EXPECT_EQ(pixel(kGainKnobEdge), half);
}

TEST_F(UiWindow, TurningThePedalOverWritesNoPort) {
  const unsigned long front = pixel(kLamp);
  click(kLogo);
  EXPECT_NE(pixel(kLamp), front) << "the back face shows";
  EXPECT_TRUE(writes.empty());
  EXPECT_TRUE(touches.empty());
}

TEST_F(UiWindow, AVanishedHostWindowEndsTheUi) {
  XDestroyWindow(display, parent);
  parent = 0;
  XSync(display, False);
  EXPECT_TRUE(idleUntil([this] { return idleFunction(ui) != 0; }));
}

}  // namespace

// The frame in a Win32 child window, driven as a Windows host drives it: its
// messages come from this thread's message loop, the frame acts on them at
// idle.
#include <windows.h>
// GDI+ builds on the Windows headers.
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/library_module.h"
#include "resources/resource_table.h"
#include "tests/toolkit/edit_log.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_on_off_button.h"
#include "toolkit/win32/win32_window.h"

namespace {

LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void dispatchMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A top-level window standing in for the host's.
class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    murkfell::libraryModule = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MurkfellToolkitTestHost";
    RegisterClassExW(&windowClass);
    parent = CreateWindowExW(0, windowClass.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                             460, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(parent, nullptr);
    ShowWindow(parent, SW_SHOW);
  }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
  }

  HWND parent = nullptr;
};

bool frameClassRegistered() {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  return GetClassInfoExW(GetModuleHandleW(nullptr), L"MurkfellFrameWindow", &info) != FALSE;
}

TEST_F(HostWindow, FrameOpensAChildOfThePanelSizeAndRegistersItsClassMeanwhile) {
  EXPECT_FALSE(frameClassRegistered());
  auto* frame = new CFrame(CRect(0, 0, 340, 400), parent, nullptr);
  const auto child = reinterpret_cast<HWND>(frame->getWindowId());
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_TRUE(IsWindowVisible(child));
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 340);
  EXPECT_EQ(client.bottom, 400);
  EXPECT_TRUE(frameClassRegistered());
  auto* second = new CFrame(CRect(0, 0, 340, 400), parent, nullptr);
  frame->forget();
  EXPECT_FALSE(IsWindow(child));
  EXPECT_TRUE(frameClassRegistered());
  second->forget();
  EXPECT_FALSE(frameClassRegistered());
}

TEST_F(HostWindow, AParentThatIsNoWindowLeavesTheFrameWithoutOne) {
  auto* frame = new CFrame(CRect(0, 0, 340, 400), reinterpret_cast<void*>(0x1234), nullptr);
  EXPECT_EQ(frame->getWindowId(), 0u);
  frame->idle();
  frame->forget();
  EXPECT_FALSE(frameClassRegistered());
}

TEST_F(HostWindow, ClicksReachTheViewsAtIdleAndThePictureReachesTheWindow) {
  EditLog log;
  auto* frame = new CFrame(CRect(0, 0, 340, 400), parent, &log);
  CBitmap* image = new CBitmap(murkfell::findImage("BackgroundBitmap.png"));
  auto* page = new COnOffButton(CRect(0, 0, 340, 400), &log, 0, image);
  image->forget();
  frame->addView(page);
  const auto child = reinterpret_cast<HWND>(frame->getWindowId());
  frame->idle();
  dispatchMessages();

  PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at(60, 340));
  PostMessageW(child, WM_LBUTTONUP, 0, at(60, 340));
  dispatchMessages();
  EXPECT_EQ(page->getValue(), 0.0f);  // nothing happens before idle
  frame->idle();
  EXPECT_EQ(page->getValue(), 1.0f);
  // A click is a whole edit, and the host is given idle time to show it.
  EXPECT_EQ(log.events, (std::vector<std::string>{"begin 0", "changed 0", "end 0", "idle"}));

  // The back face is on screen now: the window's pixels are the frame's.
  HDC device = GetDC(child);
  Gdiplus::Color expected;
  for (const POINT spot : {POINT{170, 10}, POINT{30, 200}, POINT{300, 380}}) {
    frame->getImage()->GetPixel(spot.x, spot.y, &expected);
    const COLORREF shown = GetPixel(device, spot.x, spot.y);
    EXPECT_EQ(shown, RGB(expected.GetR(), expected.GetG(), expected.GetB()))
        << spot.x << ", " << spot.y;
  }
  ReleaseDC(child, device);
  frame->forget();
}

TEST_F(HostWindow, DragsKeepTheMouseAndALostCaptureEndsTheEdit) {
  EditLog log;
  log.knobMode = kLinearMode;
  auto* frame = new CFrame(CRect(0, 0, 340, 400), parent, &log);
  CBitmap* image = new CBitmap(murkfell::findImage("knobAnimBitmap.png"));
  auto* knob = new CAnimKnob(CRect(43, 114, 101, 172), &log, 1, 61, 58, image);
  image->forget();
  frame->addView(knob);
  knob->setValue(0.5f);
  const auto child = reinterpret_cast<HWND>(frame->getWindowId());

  SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at(72, 143));
  EXPECT_EQ(GetCapture(), child);
  // Above the window: only a captured mouse reports there.
  SendMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, at(72, static_cast<WORD>(-57)));
  frame->idle();
  EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);  // 200 pixels up: the whole range

  ReleaseCapture();  // another window takes the mouse before the release
  frame->idle();
  ASSERT_FALSE(log.events.empty());
  EXPECT_EQ(log.events.front(), "begin 1");
  EXPECT_EQ(log.events.back(), "end 1");
  frame->forget();
}

TEST_F(HostWindow, FrameSurvivesTheHostDestroyingItsWindowFirst) {
  auto* frame = new CFrame(CRect(0, 0, 340, 400), parent, nullptr);
  ASSERT_NE(frame->getWindowId(), 0u);
  DestroyWindow(parent);
  EXPECT_EQ(frame->getWindowId(), 0u);
  frame->idle();
  frame->forget();
  EXPECT_FALSE(frameClassRegistered());
}

// What the window reports, translated from Windows' messages.
TEST_F(HostWindow, WindowTranslatesMouseMessages) {
  Win32Window window(parent, 340, 400);
  const auto child = reinterpret_cast<HWND>(window.getWindow());
  ASSERT_NE(child, nullptr);
  POINT screen{100, 50};
  ClientToScreen(child, &screen);

  SendMessageW(child, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, at(10, 20));
  SendMessageW(child, WM_MOUSEMOVE, MK_RBUTTON, at(10, 21));
  SendMessageW(child, WM_MOUSEMOVE, MK_RBUTTON, at(11, 22));  // moves pile up as the last
  SendMessageW(child, WM_RBUTTONUP, MK_SHIFT, at(12, 24));
  SendMessageW(child, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-2 * WHEEL_DELTA)),
               MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  SendMessageW(child, WM_MOUSELEAVE, 0, 0);

  std::vector<WindowEvent> events;
  window.pump([&events](const WindowEvent& event) { events.push_back(event); });
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, WindowEvent::kButtonPress);
  EXPECT_EQ(events[0].where, CPoint(10, 20));
  EXPECT_EQ(events[0].buttons, kRButton | kShift | kControl);
  EXPECT_EQ(events[1].kind, WindowEvent::kMotion);
  EXPECT_EQ(events[1].where, CPoint(11, 22));
  EXPECT_EQ(events[1].buttons, kRButton);
  EXPECT_EQ(events[2].kind, WindowEvent::kButtonRelease);
  EXPECT_EQ(events[2].where, CPoint(12, 24));
  EXPECT_EQ(events[2].buttons, kRButton | kShift);
  EXPECT_EQ(events[3].kind, WindowEvent::kWheel);
  EXPECT_EQ(events[3].where, CPoint(100, 50));
  EXPECT_EQ(events[3].distance, -2.0f);
  EXPECT_EQ(events[3].buttons, kShift);
  EXPECT_EQ(events[4].kind, WindowEvent::kLeave);
  EXPECT_NE(GetCapture(), child);  // released with the last button

  events.clear();
  window.pump([&events](const WindowEvent& event) { events.push_back(event); });
  EXPECT_TRUE(events.empty());
}

}  // namespace

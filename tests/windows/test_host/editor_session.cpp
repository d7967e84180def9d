#include "tests/windows/test_host/editor_session.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "tests/windows/test_host/gdi_objects.h"
#include "tests/windows/test_host/plugin.h"
#include "tests/windows/test_host/screen_capture.h"

namespace {

constexpr wchar_t kHostClass[] = L"MurkfellTestHostWindow";
constexpr DWORD kIdleInterval = 20;  // ms between effEditIdle calls

// A plain top-level window whose client area is exactly the editor's size.
HWND makeHostWindow(const ERect& editorRect) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kHostClass;
  RegisterClassExW(&windowClass);
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT outer{0, 0, editorRect.right - editorRect.left, editorRect.bottom - editorRect.top};
  AdjustWindowRect(&outer, style, FALSE);
  HWND window =
      CreateWindowExW(0, kHostClass, L"Murkfell test host", style, 40, 40, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) throw std::runtime_error("cannot make the host window");
  ShowWindow(window, SW_SHOW);
  return window;
}

class EditorSession {
 public:
  explicit EditorSession(const std::string& pluginPath) : plugin(pluginPath) {}
  ~EditorSession() {
    if (editorOpen) plugin.dispatch(effEditClose);
    if (hostWindow != nullptr) DestroyWindow(hostWindow);
  }

  // Runs one action from `actions[at]`; answers how many words it used.
  std::size_t run(const std::vector<std::string>& actions, std::size_t at);

 private:
  void open();
  void idle(DWORD milliseconds);
  void click(int x, int y);
  int childWindows() const;
  VstInt32 parameterIndex(const std::string& name) const;

  Plugin plugin;
  HWND hostWindow = nullptr;
  bool editorOpen = false;
};

const std::string& argument(const std::vector<std::string>& actions, std::size_t at) {
  if (at >= actions.size()) throw std::runtime_error(actions[at - 1] + " needs an argument");
  return actions[at];
}

std::size_t EditorSession::run(const std::vector<std::string>& actions, std::size_t at) {
  const std::string& action = actions[at];
  if (action == "open") {
    open();
    return 1;
  }
  if (action == "close") {
    plugin.dispatch(effEditClose);
    editorOpen = false;
    return 1;
  }
  if (action == "idle") {
    idle(static_cast<DWORD>(std::stoul(argument(actions, at + 1))));
    return 2;
  }
  if (action == "shot") {
    if (hostWindow == nullptr) throw std::runtime_error("shot before open");
    captureClientArea(hostWindow, argument(actions, at + 1));
    return 2;
  }
  if (action == "click") {
    click(std::stoi(argument(actions, at + 1)), std::stoi(argument(actions, at + 2)));
    return 3;
  }
  if (action == "set") {
    const std::string& setting = argument(actions, at + 1);
    const auto equals = setting.find('=');
    if (equals == std::string::npos) throw std::runtime_error("set needs NAME=VALUE");
    plugin.setParameter(parameterIndex(setting.substr(0, equals)),
                        std::stof(setting.substr(equals + 1)));
    return 2;
  }
  if (action == "print") {
    const std::string& name = argument(actions, at + 1);
    std::printf("%s=%g\n", name.c_str(),
                static_cast<double>(plugin.parameter(parameterIndex(name))));
    return 2;
  }
  if (action == "gdi") {
    std::printf("gdi %u\n", gdiObjectCount());
    return 1;
  }
  if (action == "children") {
    std::printf("children %d\n", childWindows());
    return 1;
  }
  throw std::runtime_error("unknown action " + action);
}

void EditorSession::open() {
  ERect* rect = nullptr;
  if (plugin.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
    throw std::runtime_error("the plug-in has no editor");
  }
  if (hostWindow == nullptr) hostWindow = makeHostWindow(*rect);
  editorOpen = plugin.dispatch(effEditOpen, 0, 0, hostWindow) != 0;
  std::printf("open %d\n", editorOpen ? 1 : 0);
}

void EditorSession::idle(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  DWORD lastIdle = start - kIdleInterval;
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (GetTickCount() - lastIdle >= kIdleInterval) {
      lastIdle = GetTickCount();
      if (editorOpen) plugin.dispatch(effEditIdle);
    }
    Sleep(2);
  }
}

void EditorSession::click(int x, int y) {
  if (hostWindow == nullptr) throw std::runtime_error("click before open");
  POINT where{x, y};
  ClientToScreen(hostWindow, &where);
  SetCursorPos(where.x, where.y);
  idle(50);  // the pointer's move arrives first, as it would with a hand on the mouse
  INPUT press{};
  press.type = INPUT_MOUSE;
  press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  INPUT release = press;
  release.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &press, sizeof press);
  idle(50);
  SendInput(1, &release, sizeof release);
}

int EditorSession::childWindows() const {
  int count = 0;
  if (hostWindow != nullptr) {
    EnumChildWindows(
        hostWindow,
        [](HWND, LPARAM counter) -> BOOL {
          ++*reinterpret_cast<int*>(counter);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

VstInt32 EditorSession::parameterIndex(const std::string& name) const {
  const auto index = plugin.findParameter(name);
  if (!index) throw std::runtime_error("the plug-in has no parameter " + name);
  return *index;
}

}  // namespace

void runEditorSession(const std::string& pluginPath, const std::vector<std::string>& actions) {
  EditorSession session(pluginPath);
  for (std::size_t at = 0; at < actions.size();) {
    at += session.run(actions, at);
    std::fflush(stdout);
  }
}

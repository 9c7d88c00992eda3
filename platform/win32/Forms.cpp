// The application object's message loop and its forms on the Win32 API: a
// form is a top-most popup window whose window procedure hands key, character
// and mouse messages to the form's events; the loop runs the idle handler
// whenever the thread's queue is empty, at most once a refresh of the display
// while the handler asks to be called again.
#include "platform/forms/Forms.h"

#include "platform/forms/PostQueue.h"
#include "platform/win32/MonitorCovers.h"
#include "platform/win32/RefreshPacing.h"
#include "platform/win32/WindowClass.h"

#include <windowsx.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace {

// How long an idle loop sleeps at most before it looks again.
constexpr DWORD kIdleWaitMs = 250;
constexpr char kFormClass[] = "TidereachForm";

TApplication* OwningApplication(TComponent* owner) { return dynamic_cast<TApplication*>(owner); }

TShiftState CurrentShiftState() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    return shift;
}

void EndFromOutside(TForm& form) {
    if (auto handler = form.OnEndFromOutside)
        RunEventHandler([&] { handler(&form); });
    else
        RunEventHandler([&] { form.Close(); });
}

// The form's events for one message; false when the message is not one of
// them. A hidden form gets no input, which also keeps a closing form deaf.
// Handlers are called through copies: one may replace itself.
bool DeliverInput(TForm& form, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (auto handler = form.OnKeyDown; handler && form.Visible()) {
            WORD key = WORD(wParam);
            RunEventHandler([&] { handler(&form, key, CurrentShiftState()); });
        }
        return true;
    case WM_CHAR:
        if (auto handler = form.OnKeyPress; handler && form.Visible()) {
            char key = char(wParam);
            RunEventHandler([&] { handler(&form, key); });
        }
        return true;
    case WM_MOUSEMOVE:
        if (auto handler = form.OnMouseMove; handler && form.Visible()) {
            const int x = GET_X_LPARAM(lParam);
            const int y = GET_Y_LPARAM(lParam);
            RunEventHandler([&] { handler(&form, CurrentShiftState(), x, y); });
        }
        return true;
    case WM_CLOSE:
        EndFromOutside(form);
        return true;
    case WM_ENDSESSION:
        // Once this returns the system may end the process at any time: the
        // ending runs now.
        if (wParam) EndFromOutside(form);
        return true;
    case WM_ACTIVATEAPP:
        if (auto handler = form.OnEndFromOutside; handler && !wParam && form.Visible())
            RunEventHandler([&] { handler(&form); });
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (form != nullptr && DeliverInput(*form, message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// The program's file name without folder and extension, as the framework
// titles an application.
std::string ModuleTitle() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.find_last_of('.'));
}

}  // namespace

// The process's application object. It is never destroyed: forms of a
// running program are torn down by their own closing code.
TApplication* Application = new TApplication;

// --- TForm -------------------------------------------------------------------

TForm::~TForm() {
    if (ownsWindow_ && handle_ != 0) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (auto* application = OwningApplication(Owner()); application && application->MainForm == this) {
        application->MainForm = nullptr;
    }
}

HWND TForm::Handle() {
    if (handle_ == 0) {
        platform::win32::RegisterWindowClass(kFormClass, FormProc,
                                             static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        // A borderless window over the whole screen, above every other: the
        // display device takes it for its exclusive mode.
        handle_ = CreateWindowExA(WS_EX_TOPMOST, kFormClass, Caption.c_str(), WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                  nullptr, GetModuleHandleA(nullptr), this);
        if (handle_ == 0) throw std::runtime_error("Cannot create the window");
        ownsWindow_ = true;
        if (borderStyle_ == TBorderStyle::bsSizeable) SetBorderStyle(borderStyle_);
    }
    return handle_;
}

void TForm::AdoptWindow(HWND foreign) {
    if (ownsWindow_ && handle_ != 0) DestroyWindow(handle_);
    handle_ = foreign;
    ownsWindow_ = false;
}

void TForm::Show() {
    const HWND window = Handle();
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetFocus(window);
    // The form takes its monitor; the others go black while it shows.
    if (!visible_ && ownsWindow_)
        platform::win32::CoverMonitors(window, platform::win32::OtherMonitors(window));
    visible_ = true;
}

void TForm::Hide() {
    if (handle_ != 0) {
        platform::win32::RemoveCovers(handle_);
        ShowWindow(handle_, SW_HIDE);
    }
    visible_ = false;
}

void TForm::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    if (handle_ == 0 || !ownsWindow_) return;
    const LONG_PTR shown = GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE;
    const LONG_PTR frame = style == TBorderStyle::bsSizeable ? WS_OVERLAPPEDWINDOW : WS_POPUP;
    SetWindowLongPtrA(handle_, GWL_STYLE, frame | shown);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

// --- TApplication ------------------------------------------------------------

TApplication::TApplication()
    : TComponent(nullptr),
      Title(ModuleTitle()),
      posted_(std::make_unique<PostQueue>(
          [thread = GetCurrentThreadId()] { PostThreadMessageA(thread, WM_NULL, 0, 0); })),
      previous_(Application) {
    Application = this;
}

bool TApplication::HandleOneMessage() {
    if (auto work = posted_->Take()) {
        RunEventHandler(work);
        return true;
    }
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        Terminate();
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

void TApplication::Run() {
    if (MainForm == nullptr || terminated_) return;
    RunEventHandler([&] { MainForm->Show(); });
    // An idle handler that asks to be called again draws a frame each time:
    // those calls keep to the display's refresh.
    platform::win32::RefreshPacing pacing;
    bool drawing = false;
    while (!terminated_) {
        if (HandleOneMessage() || terminated_) continue;
        if (drawing && !pacing.WaitForFrame()) continue;
        bool done = true;
        RunEventHandler([&] {
            if (auto idle = OnIdle) idle(this, done);
        });
        drawing = !done;
        if (done && !terminated_ && posted_->Empty()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleWaitMs, QS_ALLINPUT);
        }
    }
}

void TApplication::ProcessMessages() {
    while (HandleOneMessage()) {
    }
}

void TApplication::HandleException(const std::exception& error) {
    // Without a main form (the settings dialog) the box belongs to the
    // window the user is working in.
    const HWND owner =
        MainForm != nullptr && MainForm->HandleAllocated() ? MainForm->Handle() : GetActiveWindow();
    MessageBoxA(owner, error.what(), Title.c_str(), MB_OK | MB_ICONERROR);
}

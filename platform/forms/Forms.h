// The form framework: components with owners and notify events, the
// application object with its message loop and idle event, and forms.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner) : owner_(owner) {}
    TComponent* Owner() const { return owner_; }

private:
    TComponent* owner_;
};

// Shift state of key and mouse events.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;

// Virtual-key codes delivered by key-down events; on Windows windows.h has them.
#ifndef _WIN32
inline constexpr WORD VK_BACK = 0x08;
inline constexpr WORD VK_TAB = 0x09;
inline constexpr WORD VK_RETURN = 0x0D;
inline constexpr WORD VK_SHIFT = 0x10;
inline constexpr WORD VK_CONTROL = 0x11;
inline constexpr WORD VK_MENU = 0x12;
inline constexpr WORD VK_ESCAPE = 0x1B;
inline constexpr WORD VK_SPACE = 0x20;
inline constexpr WORD VK_LEFT = 0x25;
inline constexpr WORD VK_UP = 0x26;
inline constexpr WORD VK_RIGHT = 0x27;
inline constexpr WORD VK_DOWN = 0x28;
inline constexpr WORD VK_ADD = 0x6B;
inline constexpr WORD VK_SUBTRACT = 0x6D;
inline constexpr WORD VK_F1 = 0x70;
#endif

enum class TBorderStyle { bsNone, bsSizeable, bsDialog };

class TForm : public TComponent {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // The window, made on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != 0; }
    // Makes the form draw into a window of another program (a screensaver
    // host's window) instead of one of its own.
    void AdoptWindow(HWND foreign);

    void Show();
    void Hide();
    bool Visible() const { return visible_; }
    // Hides the form; closing the main form ends the message loop.
    void Close();
    void SetBorderStyle(TBorderStyle style);
    TBorderStyle BorderStyle() const { return borderStyle_; }

    std::string Caption;

    std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(TObject* Sender, char& Key)> OnKeyPress;
    std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    // Windows ends a form from outside the program: closed by another program
    // (Task Manager's End task), the session ending, or, while the form is
    // shown, the screen given to another program. Without a handler the form
    // closes on the first two and the third is nothing to it.
    TNotifyEvent OnEndFromOutside;

private:
    HWND handle_ = 0;
    bool ownsWindow_ = false;
    bool visible_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();

    // Makes a form owned by the application; the first becomes the main form.
    // An exception thrown while the form builds itself is shown by
    // HandleException and the form is kept.
    template <class Form, class... Arguments>
    Form* CreateForm(Arguments&&... arguments) {
        auto form = std::make_unique<Form>(this, std::forward<Arguments>(arguments)...);
        Form* raw = form.get();
        AdoptForm(std::move(form));
        return raw;
    }

    // Runs the message loop: one pending message per turn, else the idle
    // handler; until the main form closes or Terminate is called. Window
    // events go to the form whose window they name; a hidden form gets no
    // input. The main form is shown first.
    void Run();
    // Handles every pending message and returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The standard error box: the exception's text, captioned with Title.
    void HandleException(const std::exception& error);
    // Runs `work`; an exception it throws goes to HandleException and no
    // further, as none may unwind through a window system's callback.
    void RunGuarded(const std::function<void()>& work);

    // Queues work for the window thread; callable from any thread and from a
    // signal-safe forwarding thread. Runs before the next idle turn.
    void Post(std::function<void()> work);

    std::string Title;
    std::function<void(TObject* Sender, bool& Done)> OnIdle;
    TForm* MainForm = nullptr;

private:
    void AdoptForm(std::unique_ptr<TForm> form);
    bool HandleOneMessage();

    struct PostQueue;
    std::unique_ptr<PostQueue> posted_;
    std::vector<std::unique_ptr<TForm>> forms_;
    bool terminated_ = false;
    // The application that was current before this one was made (tests make
    // their own); it is current again when this one is destroyed.
    TApplication* previous_;
};

// The current application: the process's own, made before main and never
// destroyed, or the one made last while it lives (tests make their own).
extern TApplication* Application;

// Calls the form-building code of a form's constructor, routing an exception
// to the application's standard error box, as the framework does for a
// form's creation event.
void RunCreateHandler(const std::function<void()>& handler);

// Calls an event handler for a user's action, routing an exception to the
// application's standard error box, as the framework's message loop does.
void RunEventHandler(const std::function<void()>& handler);

// The application object's message loop and the forms it routes window
// events to.
#include "platform/forms/Forms.h"

#include "platform/forms/PostQueue.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/User.h"

#include <errno.h>

#include <utility>

namespace {

// How long an idle loop sleeps at most before it looks again; a back end
// that misses a wake-up costs no more than this.
constexpr int kIdleWaitMs = 250;

TApplication* OwningApplication(TComponent* owner) { return dynamic_cast<TApplication*>(owner); }

}  // namespace

// The process's application object. It is never destroyed: forms of a
// running program are torn down by their own closing code, and destroying
// them during static destruction would reach a back end already gone.
TApplication* Application = new TApplication;

// --- TForm -------------------------------------------------------------------

TForm::~TForm() {
    if (ownsWindow_ && handle_ != 0) {
        platform::CurrentBackend().DestroyWindow(handle_);
    }
    if (auto* application = OwningApplication(Owner()); application && application->MainForm == this) {
        application->MainForm = nullptr;
    }
}

HWND TForm::Handle() {
    if (handle_ == 0) {
        auto& backend = platform::CurrentBackend();
        handle_ = backend.CreateWindow(Caption);
        ownsWindow_ = true;
        if (borderStyle_ == TBorderStyle::bsSizeable) {
            backend.SetSizeableBorder(handle_, true);
        }
    }
    return handle_;
}

void TForm::AdoptWindow(HWND foreign) {
    if (ownsWindow_ && handle_ != 0) {
        platform::CurrentBackend().DestroyWindow(handle_);
    }
    handle_ = foreign;
    ownsWindow_ = false;
}

void TForm::Show() {
    platform::CurrentBackend().ShowWindow(Handle(), true);
    visible_ = true;
}

void TForm::Hide() {
    if (handle_ != 0) {
        platform::CurrentBackend().ShowWindow(handle_, false);
    }
    visible_ = false;
}

void TForm::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    if (handle_ != 0 && ownsWindow_) {
        platform::CurrentBackend().SetSizeableBorder(handle_, style == TBorderStyle::bsSizeable);
    }
}

// --- TApplication ------------------------------------------------------------

TApplication::TApplication()
    : TComponent(nullptr),
      Title(program_invocation_short_name),
      posted_(std::make_unique<PostQueue>([] { platform::CurrentBackend().Wake(); })),
      previous_(Application) {
    Application = this;
}

namespace {

void Deliver(TForm& form, const platform::WindowEvent& event) {
    if (event.kind == platform::EventKind::Close) {
        form.Close();
        return;
    }
    // A hidden window gets no input, as on the original platform; this is
    // also what keeps a closing form deaf.
    if (!form.Visible()) {
        return;
    }
    // Handlers are called through copies: one may replace itself.
    switch (event.kind) {
    case platform::EventKind::KeyDown:
        if (auto handler = form.OnKeyDown) {
            WORD key = event.virtualKey;
            handler(&form, key, event.shift);
        }
        break;
    case platform::EventKind::Character:
        if (auto handler = form.OnKeyPress) {
            char key = event.character;
            handler(&form, key);
        }
        break;
    case platform::EventKind::MouseMove:
        if (auto handler = form.OnMouseMove) {
            handler(&form, event.shift, event.x, event.y);
        }
        break;
    case platform::EventKind::Close:
        break;
    }
}

}  // namespace

bool TApplication::HandleOneMessage() {
    if (auto work = posted_->Take()) {
        work();
        return true;
    }
    platform::WindowEvent event;
    if (!platform::CurrentBackend().PollEvent(event)) {
        return false;
    }
    TForm* target = nullptr;
    if (event.window == 0 && event.kind == platform::EventKind::Close) {
        target = MainForm;  // the session asks the whole program to end
    } else {
        for (auto& form : forms_) {
            if (form->HandleAllocated() && form->Handle() == event.window) {
                target = form.get();
                break;
            }
        }
    }
    if (target != nullptr) {
        Deliver(*target, event);
    }
    return true;
}

void TApplication::Run() {
    if (MainForm == nullptr || terminated_) {
        return;
    }
    RunGuarded([&] { MainForm->Show(); });
    while (!terminated_) {
        bool handled = true;  // a message whose handler threw was still taken
        RunGuarded([&] { handled = HandleOneMessage(); });
        if (handled || terminated_) {
            continue;
        }
        bool done = true;
        RunGuarded([&] {
            if (auto idle = OnIdle) {
                idle(this, done);
            }
        });
        if (done && !terminated_ && posted_->Empty()) {
            platform::CurrentBackend().WaitEvent(kIdleWaitMs);
        }
    }
}

void TApplication::ProcessMessages() {
    bool handled = true;
    while (handled) {
        handled = true;  // a message whose handler threw was still taken
        RunGuarded([&] { handled = HandleOneMessage(); });
    }
}

void TApplication::HandleException(const std::exception& error) {
    const HWND owner = MainForm != nullptr && MainForm->HandleAllocated() ? MainForm->Handle() : 0;
    MessageBoxA(owner, error.what(), Title.c_str(), MB_OK | MB_ICONERROR);
}

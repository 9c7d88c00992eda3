// What the form framework does alike on every window system: the first form
// of an application as its main form, the application's forms, the work
// posted to its window thread and its termination.
#include "platform/forms/Forms.h"

#include "platform/forms/PostQueue.h"

#include <stdexcept>
#include <utility>

namespace {

TApplication* OwningApplication(TComponent* owner) { return dynamic_cast<TApplication*>(owner); }

}  // namespace

TForm::TForm(TComponent* owner) : TComponent(owner) {
    // The first form becomes the main form as soon as it exists, so that
    // closing it from its own creation code already ends the program.
    if (auto* application = OwningApplication(owner); application && !application->MainForm) {
        application->MainForm = this;
    }
}

void TForm::Close() {
    Hide();
    if (auto* application = OwningApplication(Owner()); application && application->MainForm == this) {
        application->Terminate();
    }
}

TApplication::~TApplication() {
    while (!forms_.empty()) {
        forms_.pop_back();
    }
    if (Application == this) {
        Application = previous_;
    }
}

void TApplication::Initialize() {
    // Everything the loop needs exists once the object does; the call stays
    // because the program's start-up sequence makes it.
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) { forms_.push_back(std::move(form)); }

void TApplication::Terminate() { terminated_ = true; }

void TApplication::Post(std::function<void()> work) {
    {
        std::lock_guard guard(posted_->lock);
        posted_->work.push_back(std::move(work));
    }
    posted_->wake();
}

void TApplication::RunGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& error) {
        HandleException(error);
    } catch (...) {
        HandleException(std::runtime_error("Unknown exception"));
    }
}

void RunCreateHandler(const std::function<void()>& handler) { Application->RunGuarded(handler); }

void RunEventHandler(const std::function<void()>& handler) { Application->RunGuarded(handler); }

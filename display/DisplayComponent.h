// What every display component shares: the last error text and the event
// that tells the owner about it.
#pragma once

#include "platform/forms/Forms.h"

#include <string>

class DisplayComponent : public TComponent {
public:
    using TComponent::TComponent;

    TNotifyEvent OnError;

    const std::string& ErrorText() const { return errorText_; }
    void SetErrorText(const std::string& text) { errorText_ = text; }

protected:
    // Stores the text, then tells the owner.
    void Report(const std::string& text) {
        errorText_ = text;
        NotifyError();
    }
    void NotifyError() {
        if (OnError) OnError(this);
    }

private:
    std::string errorText_;
};

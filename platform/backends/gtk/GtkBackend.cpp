#include "platform/backends/gtk/GtkBackend.h"

#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/winapi/User.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace platform::gtk {
namespace {

GtkWindow* dialogParent = nullptr;

// The primary monitor in device pixels. A 24-bit colour desktop keeps its
// pixels in 32 bits, and counts as a 32-bit mode, as the original platform
// counts it.
ScreenMode ScreenOfDisplay() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
    ScreenMode mode{1024, 768, 32};
    if (monitor != nullptr) {
        GdkRectangle geometry{};
        gdk_monitor_get_geometry(monitor, &geometry);
        const int scale = gdk_monitor_get_scale_factor(monitor);
        mode.width = geometry.width * scale;
        mode.height = geometry.height * scale;
    }
    const int depth =
        gdk_visual_get_depth(gdk_screen_get_system_visual(gdk_display_get_default_screen(display)));
    mode.bitsPerPixel = depth > 16 ? 32 : depth > 8 ? 16 : 8;
    return mode;
}

GtkMessageType MessageTypeOf(UINT type) {
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return GTK_MESSAGE_ERROR;
    case MB_ICONWARNING:
        return GTK_MESSAGE_WARNING;
    case MB_ICONINFORMATION:
        return GTK_MESSAGE_INFO;
    default:
        return GTK_MESSAGE_OTHER;
    }
}

headless::Config ScreenConfig() {
    headless::Config config;
    config.desktop = ScreenOfDisplay();
    config.monitors = gdk_display_get_n_monitors(gdk_display_get_default());
    return config;
}

BYTE Channel(double value) { return BYTE(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

class GtkBackend final : public ForwardingBackend {
public:
    GtkBackend() : ForwardingBackend(headless::MakeBackend(ScreenConfig())) {}

    // The dialog reads the system's clocks, never the offscreen screen's.
    std::optional<SYSTEMTIME> LocalTime() override { return std::nullopt; }
    std::optional<DWORD> TickCount() override { return std::nullopt; }

    int ShowMessageBox(HWND, std::string_view text, std::string_view caption, UINT type) override {
        const std::string shownText(text);
        GtkWidget* box = gtk_message_dialog_new(dialogParent, GTK_DIALOG_MODAL, MessageTypeOf(type),
                                                GTK_BUTTONS_OK, "%s", shownText.c_str());
        gtk_window_set_title(GTK_WINDOW(box), std::string(caption).c_str());
        if (dialogParent == nullptr) gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
        gtk_dialog_run(GTK_DIALOG(box));
        gtk_widget_destroy(box);
        return IDOK;
    }

    bool ChooseColor(HWND, COLORREF& color) override {
        GtkWidget* chooser = gtk_color_chooser_dialog_new("Color", dialogParent);
        GtkColorChooser* colors = GTK_COLOR_CHOOSER(chooser);
        gtk_color_chooser_set_use_alpha(colors, FALSE);
        const GdkRGBA initial{GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0,
                              1.0};
        gtk_color_chooser_set_rgba(colors, &initial);
        const bool chosen = gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_OK;
        if (chosen) {
            GdkRGBA rgba{};
            gtk_color_chooser_get_rgba(colors, &rgba);
            color = RGB(Channel(rgba.red), Channel(rgba.green), Channel(rgba.blue));
        }
        gtk_widget_destroy(chooser);
        return chosen;
    }
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() { return std::make_unique<GtkBackend>(); }

void SetDialogParent(GtkWindow* parent) { dialogParent = parent; }

}  // namespace platform::gtk

// Dialog forms on GTK 3. Each control becomes the matching GTK widget in its
// parent's grid; after every user action the widgets are brought in line with
// the controls' state again ("mirrored"), so whatever a handler changed shows.
#include "platform/backends/gtk/GtkBackend.h"
#include "platform/forms/Bitmap.h"
#include "platform/forms/DialogToolkit.h"
#include "platform/forms/StdCtrls.h"
#include "platform/seam/Backend.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

// A GTK signal handler that is any C++ callable, freed with its connection.
template <class Signature>
struct Slot;

template <class Result, class... Arguments>
struct Slot<Result(Arguments...)> {
    std::function<Result(Arguments...)> call;

    static Result Invoke(Arguments... arguments, gpointer self) {
        return static_cast<Slot*>(self)->call(arguments...);
    }
    static void Free(gpointer self, GClosure*) { delete static_cast<Slot*>(self); }
};

template <class Signature, class Callable>
void Connect(gpointer instance, const char* signal, Callable callable, bool after = false) {
    using Handler = Slot<Signature>;
    g_signal_connect_data(instance, signal, G_CALLBACK(&Handler::Invoke), new Handler{std::move(callable)},
                          &Handler::Free, after ? G_CONNECT_AFTER : GConnectFlags(0));
}

// A colour of the theme for a system colour; nothing for the theme's text.
std::optional<GdkRGBA> Resolve(GtkWidget* widget, TColor color) {
    if (!IsSystemColor(color)) {
        return GdkRGBA{GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0, 1.0};
    }
    const char* name = nullptr;
    switch (SystemColorIndex(color)) {
    case COLOR_INACTIVECAPTION:
        name = "insensitive_fg_color";
        break;
    case COLOR_MENU:
    case COLOR_BTNFACE:
        name = "theme_bg_color";
        break;
    default:
        return std::nullopt;
    }
    GdkRGBA rgba{0.75, 0.75, 0.75, 1.0};
    gtk_style_context_lookup_color(gtk_widget_get_style_context(widget), name, &rgba);
    return rgba;
}

std::string Hex(const GdkRGBA& rgba) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(std::lround(rgba.red * 255)),
                  unsigned(std::lround(rgba.green * 255)), unsigned(std::lround(rgba.blue * 255)));
    return text;
}

std::string Markup(GtkWidget* widget, const TControl& control) {
    gchar* escaped = g_markup_escape_text(control.Caption.c_str(), -1);
    std::string attributes;
    if (control.Font.Bold) attributes += " weight=\"bold\"";
    if (control.Font.Underline) attributes += " underline=\"single\"";
    if (const auto color = Resolve(widget, control.Font.Color))
        attributes += " foreground=\"" + Hex(*color) + "\"";
    std::string markup = "<span" + attributes + ">" + escaped + "</span>";
    g_free(escaped);
    return markup;
}

GdkPixbuf* PixbufOf(const TBitmap& bitmap) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, bitmap.Width(), bitmap.Height());
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < bitmap.Height(); ++y) {
        guchar* out = pixels + std::ptrdiff_t(y) * stride;
        for (const std::uint32_t rgb : bitmap.Row(y)) {
            *out++ = guchar(rgb >> 16);
            *out++ = guchar(rgb >> 8);
            *out++ = guchar(rgb);
        }
    }
    return pixbuf;
}

// The character a key types, as the original platform delivers it to a
// key-press handler: Backspace, Enter, Esc and Ctrl+letter as control
// characters; nothing for keys that type nothing (arrows, Delete, Tab).
std::optional<char> TypedCharacter(const GdkEventKey& key) {
    switch (key.keyval) {
    case GDK_KEY_BackSpace:
        return '\b';
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        return '\r';
    case GDK_KEY_Escape:
        return '\x1b';
    default:
        break;
    }
    const gunichar typed = gdk_keyval_to_unicode(key.keyval);
    if (typed == 0 || (key.state & GDK_MOD1_MASK) != 0) return std::nullopt;
    if ((key.state & GDK_CONTROL_MASK) != 0) {
        if (!g_unichar_isalpha(typed) || typed >= 0x80) return std::nullopt;
        return char(g_unichar_toupper(typed) & 0x1F);
    }
    if (typed < 0x20 || typed == 0x7F) return std::nullopt;
    // Any other letter of the world is no digit either.
    return typed < 0x80 ? char(typed) : '?';
}

TMouseButton ButtonOf(guint button) {
    switch (button) {
    case 2:
        return TMouseButton::mbMiddle;
    case 3:
        return TMouseButton::mbRight;
    default:
        return TMouseButton::mbLeft;
    }
}

TShiftState ShiftOf(guint state) {
    TShiftState shift = 0;
    if ((state & GDK_SHIFT_MASK) != 0) shift |= ssShift;
    if ((state & GDK_MOD1_MASK) != 0) shift |= ssAlt;
    if ((state & GDK_CONTROL_MASK) != 0) shift |= ssCtrl;
    return shift;
}

GtkAlign AlignOf(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taRightJustify:
        return GTK_ALIGN_END;
    case TAlignment::taCenter:
        return GTK_ALIGN_CENTER;
    default:
        return GTK_ALIGN_START;
    }
}

void ShowHandCursor(GtkWidget* widget) {
    Connect<void(GtkWidget*)>(
        widget, "realize",
        [](GtkWidget* realized) {
            GdkWindow* target = GTK_IS_BUTTON(realized) ? gtk_button_get_event_window(GTK_BUTTON(realized))
                                : gtk_widget_get_has_window(realized) ? gtk_widget_get_window(realized)
                                                                      : nullptr;
            if (target == nullptr) return;
            GdkCursor* hand = gdk_cursor_new_from_name(gtk_widget_get_display(realized), "pointer");
            gdk_window_set_cursor(target, hand);
            if (hand != nullptr) g_object_unref(hand);
        },
        true);
}

void Style(GtkWidget* widget, const std::string& css) {
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

constexpr int kSpacing = 6;

}  // namespace

struct GtkDialogView final : DialogView {
    explicit GtkDialogView(TDialogForm& shown);
    ~GtkDialogView() override;
    GtkDialogView(const GtkDialogView&) = delete;
    GtkDialogView& operator=(const GtkDialogView&) = delete;

    // Shows the window centred on the screen; returns once it is drawn.
    void Show() override;
    // Shows the window and handles the user's actions until the form closes.
    void Run() override;

    // Runs a user's action on the controls as the framework's message loop
    // would: an error goes to the application's error box. Then the widgets
    // show the controls' new state, and a closed form ends the loop. An
    // action never runs inside another one (a message box's own loop).
    void Dispatch(const std::function<void()>& action);
    void MirrorAll();
    // Runs `action` once GTK has finished the event at hand, before it
    // handles the next one.
    void AfterEvent(std::function<void()> action);
    // Every event of the process passes here, so that what one sets off has
    // run before the next is looked at.
    static void HandleEvent(GdkEvent* event, gpointer self);
    void Present();

    GtkWidget* Build(TControl& control);
    GtkWidget* BuildGrid(TWinControl& container, int margin);
    GtkWidget* BuildPages(TPageControl& pages);
    GtkWidget* BuildGroupBox(TGroupBox& group);
    GtkWidget* BuildLabel(TLabel& label);
    GtkWidget* BuildLink(TLabel& label);
    GtkWidget* BuildButton(TButton& button);
    GtkWidget* BuildCheckBox(TCheckBox& box);
    GtkWidget* BuildRadioButton(TRadioButton& option);
    GtkWidget* BuildSwatch(TPanel& panel);
    GtkWidget* BuildImage(TImage& image);
    GtkWidget* BuildEdit(TEdit& edit);
    GtkWidget* BuildSpinEdit(TSpinEdit& spin);
    GtkWidget* BuildTrackBar(TTrackBar& track);
    GtkWidget* BuildComboBox(TComboBox& combo);
    // Typed characters go to the box's key handling first; a refused one
    // reaches neither the widget nor its selection, so the box stays as it was.
    template <class Box>
    void FilterKeys(GtkWidget* widget, Box& box);

    TDialogForm& form;
    GtkWidget* window = nullptr;  // null once destroyed
    std::vector<std::function<void()>> mirrors;
    bool mirroring = false;
    bool dispatching = false;
    bool drawn = false;
    bool shownAnnounced = false;  // the form's OnShown has run
    int eventDepth = 0;           // events being handled, a message box's inside another's
    // Each group of options has a hidden one that is active when none of the
    // others is, which GTK's options cannot show by themselves.
    std::map<TWinControl*, GtkWidget*> noOption;
    std::deque<std::function<void()>> afterEvent;
};

GtkDialogView::GtkDialogView(TDialogForm& shown) : form(shown) {
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), form.Caption.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_container_add(GTK_CONTAINER(window), BuildGrid(form, 10));
    Connect<gboolean(GtkWidget*, GdkEvent*)>(window, "delete-event", [this](GtkWidget*, GdkEvent*) {
        Dispatch([this] { form.Close(); });
        return TRUE;
    });
    Connect<gboolean(GtkWidget*, cairo_t*)>(
        window, "draw",
        [this](GtkWidget*, cairo_t*) {
            drawn = true;
            return FALSE;
        },
        true);
    // Another program destroying the window ends the dialog as its close
    // box does: nothing is stored, and the process goes on to its end.
    Connect<void(GtkWidget*)>(window, "destroy", [this](GtkWidget*) {
        if (window == nullptr) return;
        window = nullptr;
        gtk::SetDialogParent(nullptr);
        form.Close();
        if (gtk_main_level() > 0) gtk_main_quit();
    });
    gtk::SetDialogParent(GTK_WINDOW(window));
    gdk_event_handler_set(&GtkDialogView::HandleEvent, this, nullptr);
    MirrorAll();
}

GtkDialogView::~GtkDialogView() {
    gdk_event_handler_set([](GdkEvent* event, gpointer) { gtk_main_do_event(event); }, nullptr, nullptr);
    gtk::SetDialogParent(nullptr);
    if (GtkWidget* shown = window) {
        window = nullptr;
        gtk_widget_destroy(shown);
    }
    for (auto& [group, option] : noOption) g_object_unref(option);
    // Lets the window go from the screen now, not when the process ends.
    while (gtk_events_pending()) gtk_main_iteration();
}

void GtkDialogView::Dispatch(const std::function<void()>& action) {
    if (mirroring || dispatching || window == nullptr) return;
    dispatching = true;
    RunEventHandler(action);
    dispatching = false;
    MirrorAll();
    if (form.Closing() && gtk_main_level() > 0) gtk_main_quit();
}

void GtkDialogView::MirrorAll() {
    if (window == nullptr) return;
    mirroring = true;
    for (const auto& mirror : mirrors) mirror();
    mirroring = false;
}

void GtkDialogView::AfterEvent(std::function<void()> action) { afterEvent.push_back(std::move(action)); }

void GtkDialogView::HandleEvent(GdkEvent* event, gpointer self) {
    auto* view = static_cast<GtkDialogView*>(self);
    ++view->eventDepth;
    gtk_main_do_event(event);
    --view->eventDepth;
    if (view->eventDepth > 0) return;
    while (!view->afterEvent.empty()) {
        const std::function<void()> action = std::move(view->afterEvent.front());
        view->afterEvent.pop_front();
        action();
    }
}

void GtkDialogView::Present() {
    gtk_widget_show_all(window);
    // The notebooks can turn to a page only once their pages are shown.
    MirrorAll();
}

GtkWidget* GtkDialogView::Build(TControl& control) {
    GtkWidget* widget = VisitControl(
        control, [&](TPageControl& pages) { return BuildPages(pages); },
        [&](TGroupBox& group) { return BuildGroupBox(group); },
        [&](TPanel& panel) { return panel.Controls().empty() ? BuildSwatch(panel) : BuildGrid(panel, 0); },
        [&](TLabel& label) { return label.OnClick ? BuildLink(label) : BuildLabel(label); },
        [&](TButton& button) { return BuildButton(button); },
        [&](TCheckBox& box) { return BuildCheckBox(box); },
        [&](TRadioButton& option) { return BuildRadioButton(option); },
        [&](TImage& image) { return BuildImage(image); }, [&](TEdit& edit) { return BuildEdit(edit); },
        [&](TSpinEdit& spin) { return BuildSpinEdit(spin); },
        [&](TTrackBar& track) { return BuildTrackBar(track); },
        [&](TComboBox& combo) { return BuildComboBox(combo); },
        [&](TWinControl& container) { return BuildGrid(container, 0); });
    if (control.Width > 0 || control.Height > 0) {
        gtk_widget_set_size_request(widget, control.Width > 0 ? control.Width : -1,
                                    control.Height > 0 ? control.Height : -1);
    }
    if (control.Cursor == TCursor::crHandPoint) ShowHandCursor(widget);
    mirrors.push_back([&control, widget] {
        if (bool(gtk_widget_get_sensitive(widget)) != control.Enabled)
            gtk_widget_set_sensitive(widget, control.Enabled);
    });
    return widget;
}

GtkWidget* GtkDialogView::BuildGrid(TWinControl& container, int margin) {
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), kSpacing);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 2 * kSpacing);
    g_object_set(grid, "margin", margin, nullptr);
    for (TControl* child : container.Controls()) {
        GtkWidget* widget = Build(*child);
        const TGridPlace& place = child->Place();
        const bool holder = HoldsControls(*child);
        const bool stretches = FillsCellWidth(*child);
        gtk_widget_set_hexpand(widget, place.Expand || child->Alignment == TAlignment::taRightJustify);
        gtk_widget_set_vexpand(widget, place.Expand && holder);
        gtk_widget_set_halign(widget, stretches ? GTK_ALIGN_FILL : AlignOf(child->Alignment));
        gtk_widget_set_valign(widget, holder ? GTK_ALIGN_FILL : GTK_ALIGN_CENTER);
        gtk_widget_set_margin_start(widget, place.Indent);
        gtk_grid_attach(GTK_GRID(grid), widget, place.Column, place.Row, place.ColumnSpan, place.RowSpan);
    }
    if (const auto found = noOption.find(&container); found != noOption.end()) {
        GtkWidget* none = found->second;
        mirrors.push_back([&container, none] {
            for (TControl* child : container.Controls()) {
                if (VisitControl(
                        *child, [](const TRadioButton& option) { return option.Checked(); },
                        [](const TControl&) { return false; }))
                    return;
            }
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(none), TRUE);
        });
    }
    return grid;
}

GtkWidget* GtkDialogView::BuildPages(TPageControl& pages) {
    GtkWidget* notebook = gtk_notebook_new();
    for (TTabSheet* sheet : pages.Sheets()) {
        GtkWidget* page = BuildGrid(*sheet, 12);
        gtk_grid_set_column_homogeneous(GTK_GRID(page), TRUE);
        gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, gtk_label_new(sheet->Caption.c_str()));
    }
    Connect<void(GtkNotebook*, GtkWidget*, guint)>(
        notebook, "switch-page",
        [&pages](GtkNotebook*, GtkWidget*, guint page) { pages.ActivePageIndex = int(page); });
    mirrors.push_back([&pages, notebook] {
        if (gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook)) != pages.ActivePageIndex) {
            gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), pages.ActivePageIndex);
        }
    });
    return notebook;
}

GtkWidget* GtkDialogView::BuildGroupBox(TGroupBox& group) {
    GtkWidget* frame = gtk_frame_new(group.Caption.empty() ? nullptr : group.Caption.c_str());
    GtkWidget* grid = BuildGrid(group, 0);
    g_object_set(grid, "margin-start", 10, "margin-end", 10, "margin-top", 4, "margin-bottom", 10, nullptr);
    gtk_container_add(GTK_CONTAINER(frame), grid);
    return frame;
}

GtkWidget* GtkDialogView::BuildLabel(TLabel& label) {
    GtkWidget* text = gtk_label_new(nullptr);
    gtk_label_set_xalign(GTK_LABEL(text), label.Alignment == TAlignment::taRightJustify ? 1.0f
                                          : label.Alignment == TAlignment::taCenter     ? 0.5f
                                                                                        : 0.0f);
    mirrors.push_back([&label, text, shown = std::string()]() mutable {
        std::string markup = Markup(text, label);
        if (markup == shown) return;
        gtk_label_set_markup(GTK_LABEL(text), markup.c_str());
        shown = std::move(markup);
    });
    if (label.Transparent) return text;
    GtkWidget* background = gtk_event_box_new();
    const auto color = Resolve(background, label.Color);
    if (color) Style(background, "* { background-color: " + Hex(*color) + "; }");
    g_object_set(text, "margin", 4, nullptr);
    gtk_container_add(GTK_CONTAINER(background), text);
    return background;
}

GtkWidget* GtkDialogView::BuildLink(TLabel& label) {
    GtkWidget* link = gtk_link_button_new_with_label("about:blank", label.Caption.c_str());
    gtk_widget_set_has_tooltip(link, FALSE);
    // A link in a line of text, not a button around one.
    Style(link, "* { padding: 0; min-height: 0; }");
    GtkWidget* text = gtk_bin_get_child(GTK_BIN(link));
    if (GTK_IS_LABEL(text)) gtk_label_set_markup(GTK_LABEL(text), Markup(text, label).c_str());
    Connect<gboolean(GtkLinkButton*)>(link, "activate-link", [this, &label](GtkLinkButton*) {
        Dispatch([&label] { label.Click(); });
        return TRUE;
    });
    return link;
}

GtkWidget* GtkDialogView::BuildButton(TButton& button) {
    GtkWidget* widget = gtk_button_new_with_label(button.Caption.c_str());
    Connect<void(GtkButton*)>(widget, "clicked",
                              [this, &button](GtkButton*) { Dispatch([&button] { button.Click(); }); });
    return widget;
}

GtkWidget* GtkDialogView::BuildCheckBox(TCheckBox& box) {
    GtkWidget* widget = gtk_check_button_new_with_label(box.Caption.c_str());
    GtkToggleButton* toggle = GTK_TOGGLE_BUTTON(widget);
    Connect<void(GtkToggleButton*)>(widget, "toggled", [this, &box](GtkToggleButton* toggled) {
        const bool checked = gtk_toggle_button_get_active(toggled);
        Dispatch([&box, checked] { box.SetChecked(checked); });
    });
    mirrors.push_back([&box, toggle] {
        if (bool(gtk_toggle_button_get_active(toggle)) != box.Checked())
            gtk_toggle_button_set_active(toggle, box.Checked());
    });
    return widget;
}

GtkWidget* GtkDialogView::BuildRadioButton(TRadioButton& option) {
    GtkWidget*& none = noOption[option.Parent()];
    if (none == nullptr) none = GTK_WIDGET(g_object_ref_sink(gtk_radio_button_new(nullptr)));
    GtkWidget* widget =
        gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(none), option.Caption.c_str());
    GtkToggleButton* toggle = GTK_TOGGLE_BUTTON(widget);
    Connect<void(GtkToggleButton*)>(widget, "toggled", [this, &option](GtkToggleButton* toggled) {
        if (gtk_toggle_button_get_active(toggled)) Dispatch([&option] { option.SetChecked(true); });
    });
    // The release reaches the option before GTK turns it into a click; the
    // framework reports the click first.
    Connect<gboolean(GtkWidget*, GdkEventButton*)>(
        widget, "button-release-event", [this, &option](GtkWidget*, GdkEventButton* event) {
            const TMouseButton button = ButtonOf(event->button);
            const TShiftState shift = ShiftOf(event->state);
            const int x = int(event->x);
            const int y = int(event->y);
            AfterEvent([this, &option, button, shift, x, y] {
                Dispatch([&] { option.MouseUp(button, shift, x, y); });
            });
            return FALSE;
        });
    mirrors.push_back([&option, toggle] {
        if (option.Checked() && !gtk_toggle_button_get_active(toggle))
            gtk_toggle_button_set_active(toggle, TRUE);
    });
    return widget;
}

GtkWidget* GtkDialogView::BuildSwatch(TPanel& panel) {
    GtkWidget* area = gtk_drawing_area_new();
    Connect<gboolean(GtkWidget*, cairo_t*)>(area, "draw", [&panel](GtkWidget* widget, cairo_t* cairo) {
        const GdkRGBA color = Resolve(widget, panel.Color).value_or(GdkRGBA{0.5, 0.5, 0.5, 1.0});
        gdk_cairo_set_source_rgba(cairo, &color);
        cairo_paint(cairo);
        return FALSE;
    });
    mirrors.push_back([&panel, area, shown = TColor(~panel.Color)]() mutable {
        if (shown == panel.Color) return;
        shown = panel.Color;
        gtk_widget_queue_draw(area);
    });
    GtkWidget* box = gtk_event_box_new();
    gtk_widget_add_events(box, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    Connect<gboolean(GtkWidget*, GdkEventButton*)>(box, "button-release-event",
                                                   [this, &panel](GtkWidget*, GdkEventButton* event) {
                                                       if (event->button == 1)
                                                           Dispatch([&panel] { panel.Click(); });
                                                       return TRUE;
                                                   });
    gtk_container_add(GTK_CONTAINER(box), area);
    if (panel.BevelOuter == TBevelCut::bvNone) return box;
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame),
                              panel.BevelOuter == TBevelCut::bvLowered ? GTK_SHADOW_IN : GTK_SHADOW_OUT);
    gtk_container_add(GTK_CONTAINER(frame), box);
    return frame;
}

GtkWidget* GtkDialogView::BuildImage(TImage& image) {
    const std::optional<TBitmap> picture = LoadBitmapResource(image.ResourceName);
    if (!picture) return gtk_image_new();
    GdkPixbuf* pixbuf = PixbufOf(*picture);
    GtkWidget* widget = gtk_image_new_from_pixbuf(pixbuf);
    // The form's picture is its window's icon too.
    gtk_window_set_icon(GTK_WINDOW(window), pixbuf);
    g_object_unref(pixbuf);
    return widget;
}

template <class Box>
void GtkDialogView::FilterKeys(GtkWidget* widget, Box& box) {
    Connect<gboolean(GtkWidget*, GdkEventKey*)>(widget, "key-press-event",
                                                [this, &box](GtkWidget*, GdkEventKey* key) {
                                                    std::optional<char> typed = TypedCharacter(*key);
                                                    if (!typed) return FALSE;
                                                    char character = *typed;
                                                    Dispatch([&box, &character] { box.KeyPress(character); });
                                                    return character == 0 ? TRUE : FALSE;
                                                });
}

GtkWidget* GtkDialogView::BuildEdit(TEdit& edit) {
    GtkWidget* widget = gtk_entry_new();
    GtkEntry* entry = GTK_ENTRY(widget);
    gtk_entry_set_width_chars(entry, 1);
    gtk_entry_set_max_length(entry, gint(edit.MaxLength));
    Connect<void(GtkEditable*)>(widget, "changed", [this, &edit, entry](GtkEditable*) {
        const std::string text = gtk_entry_get_text(entry);
        Dispatch([&edit, text] { edit.SetText(text); });
    });
    FilterKeys(widget, edit);
    // The window losing the screen's focus keeps the entry's focus within it:
    // that is no exit.
    Connect<gboolean(GtkWidget*, GdkEventFocus*)>(widget, "focus-out-event",
                                                  [this, &edit](GtkWidget* left, GdkEventFocus*) {
                                                      if (gtk_window_get_focus(GTK_WINDOW(window)) != left)
                                                          Dispatch([&edit] { edit.DoExit(); });
                                                      return FALSE;
                                                  });
    mirrors.push_back([&edit, entry] {
        if (edit.Text() != gtk_entry_get_text(entry)) gtk_entry_set_text(entry, edit.Text().c_str());
    });
    return widget;
}

GtkWidget* GtkDialogView::BuildSpinEdit(TSpinEdit& spin) {
    GtkWidget* widget = gtk_spin_button_new_with_range(spin.MinValue, spin.MaxValue, spin.Increment);
    GtkSpinButton* button = GTK_SPIN_BUTTON(widget);
    gtk_spin_button_set_numeric(button, TRUE);
    gtk_spin_button_set_digits(button, 0);
    gtk_entry_set_max_length(GTK_ENTRY(widget), gint(spin.MaxLength));
    FilterKeys(widget, spin);
    // A box left without a number (emptied, say) reads as the number it
    // had, not as 0.
    Connect<gint(GtkSpinButton*, gdouble*)>(widget, "input", [&spin, button](GtkSpinButton*, gdouble* value) {
        const char* text = gtk_entry_get_text(GTK_ENTRY(button));
        while (*text == ' ') ++text;
        if (*text >= '0' && *text <= '9') return gint(FALSE);
        *value = spin.Value();
        return gint(TRUE);
    });
    Connect<void(GtkSpinButton*)>(widget, "value-changed", [this, &spin](GtkSpinButton* changed) {
        const double value = gtk_spin_button_get_value(changed);
        Dispatch([&spin, value] { spin.SetValue(value); });
    });
    mirrors.push_back([&spin, button] {
        if (gtk_spin_button_get_value(button) != spin.Value())
            gtk_spin_button_set_value(button, spin.Value());
    });
    return widget;
}

GtkWidget* GtkDialogView::BuildTrackBar(TTrackBar& track) {
    GtkWidget* widget = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, track.Min, track.Max, 1);
    GtkRange* range = GTK_RANGE(widget);
    gtk_scale_set_draw_value(GTK_SCALE(widget), FALSE);
    gtk_range_set_increments(range, 1, std::max(track.Frequency, 1));
    for (int tick = track.Min; tick <= track.Max; tick += std::max(track.Frequency, 1)) {
        gtk_scale_add_mark(GTK_SCALE(widget), tick, GTK_POS_BOTTOM, nullptr);
    }
    Connect<void(GtkRange*)>(widget, "value-changed", [this, &track](GtkRange* changed) {
        const int position = int(std::lround(gtk_range_get_value(changed)));
        Dispatch([&track, position] { track.SetPosition(position); });
    });
    mirrors.push_back([&track, range] {
        if (std::lround(gtk_range_get_value(range)) != track.Position())
            gtk_range_set_value(range, track.Position());
    });
    return widget;
}

// An entry with a drop-down list beside it. GTK's own combo box builds a menu
// item for every entry of its list, which takes seconds for thousands of
// them; a list view in a popover shows only the rows in sight.
GtkWidget* GtkDialogView::BuildComboBox(TComboBox& combo) {
    GtkListStore* items = gtk_list_store_new(1, G_TYPE_STRING);
    for (const std::string& item : combo.Items)
        gtk_list_store_insert_with_values(items, nullptr, -1, 0, item.c_str(), -1);

    GtkWidget* widget = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_style_context_add_class(gtk_widget_get_style_context(widget), GTK_STYLE_CLASS_LINKED);
    GtkWidget* text = gtk_entry_new();
    GtkEntry* entry = GTK_ENTRY(text);
    gtk_entry_set_width_chars(entry, 1);
    gtk_entry_set_max_length(entry, gint(combo.MaxLength));
    gtk_widget_set_hexpand(text, TRUE);
    GtkWidget* button = gtk_menu_button_new();
    gtk_container_add(GTK_CONTAINER(widget), text);
    gtk_container_add(GTK_CONTAINER(widget), button);

    GtkWidget* list = gtk_tree_view_new_with_model(GTK_TREE_MODEL(items));
    GtkTreeView* view = GTK_TREE_VIEW(list);
    GtkTreeViewColumn* column =
        gtk_tree_view_column_new_with_attributes("", gtk_cell_renderer_text_new(), "text", 0, nullptr);
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_append_column(view, column);
    gtk_tree_view_set_headers_visible(view, FALSE);
    gtk_tree_view_set_fixed_height_mode(view, TRUE);
    gtk_tree_view_set_search_column(view, 0);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_widget_set_size_request(scroller, combo.Width > 0 ? combo.Width : -1, 200);
    gtk_container_add(GTK_CONTAINER(scroller), list);
    gtk_widget_show_all(scroller);
    GtkWidget* popover = gtk_popover_new(button);
    gtk_popover_set_position(GTK_POPOVER(popover), GTK_POS_BOTTOM);
    gtk_container_add(GTK_CONTAINER(popover), scroller);
    gtk_menu_button_set_popover(GTK_MENU_BUTTON(button), popover);
    // Dropped from under the whole field, not just its button.
    gtk_popover_set_relative_to(GTK_POPOVER(popover), widget);

    // Typing a few letters offers the names that start with them.
    GtkEntryCompletion* completion = gtk_entry_completion_new();
    gtk_entry_completion_set_model(completion, GTK_TREE_MODEL(items));
    gtk_entry_completion_set_text_column(completion, 0);
    gtk_entry_completion_set_minimum_key_length(completion, 2);
    gtk_entry_set_completion(entry, completion);
    g_object_unref(completion);
    g_object_unref(items);

    auto choose = [this, &combo, popover](GtkTreePath* path) {
        const int index = gtk_tree_path_get_indices(path)[0];
        gtk_popover_popdown(GTK_POPOVER(popover));
        Dispatch([&combo, index] { combo.UserSelect(index); });
    };
    Connect<gboolean(GtkEntryCompletion*, GtkTreeModel*, GtkTreeIter*)>(
        completion, "match-selected", [choose](GtkEntryCompletion*, GtkTreeModel* model, GtkTreeIter* row) {
            GtkTreePath* path = gtk_tree_model_get_path(model, row);
            choose(path);
            gtk_tree_path_free(path);
            return TRUE;
        });
    Connect<void(GtkTreeView*, GtkTreePath*, GtkTreeViewColumn*)>(
        list, "row-activated",
        [choose](GtkTreeView*, GtkTreePath* path, GtkTreeViewColumn*) { choose(path); });
    // One click picks a row, as in any drop-down list; browsing with the
    // arrow keys picks nothing until Enter.
    Connect<gboolean(GtkWidget*, GdkEventButton*)>(
        list, "button-release-event", [choose](GtkWidget* clicked, GdkEventButton* event) -> gboolean {
            GtkTreePath* path = nullptr;
            if (event->button != 1 ||
                !gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(clicked), int(event->x), int(event->y), &path,
                                               nullptr, nullptr, nullptr)) {
                return FALSE;
            }
            choose(path);
            gtk_tree_path_free(path);
            return TRUE;
        });
    Connect<void(GtkWidget*)>(popover, "show", [&combo, view](GtkWidget*) {
        if (combo.ItemIndex() < 0) return;
        GtkTreePath* path = gtk_tree_path_new_from_indices(combo.ItemIndex(), -1);
        gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
        gtk_tree_view_scroll_to_cell(view, path, nullptr, TRUE, 0.5f, 0.0f);
        gtk_tree_path_free(path);
    });
    Connect<void(GtkEditable*)>(text, "changed", [this, &combo, entry](GtkEditable*) {
        const std::string typed = gtk_entry_get_text(entry);
        Dispatch([&combo, typed] { combo.UserEdit(typed); });
    });
    mirrors.push_back([&combo, entry] {
        if (combo.Text() != gtk_entry_get_text(entry)) gtk_entry_set_text(entry, combo.Text().c_str());
    });
    return widget;
}

namespace {

bool OpenDisplay(std::string* error) {
    if (!gtk_init_check(nullptr, nullptr)) {
        if (error != nullptr) {
            const char* display = std::getenv("DISPLAY");
            *error = std::string("cannot open the display \"") + (display != nullptr ? display : "") + "\"";
        }
        return false;
    }
    InstallBackend(gtk::MakeBackend());
    return true;
}

}  // namespace

void GtkDialogView::Show() {
    Present();
    while (!drawn) gtk_main_iteration();
    if (!shownAnnounced) {
        shownAnnounced = true;
        if (const TNotifyEvent shown = form.OnShown) Dispatch([this, shown] { shown(&form); });
    }
}

void GtkDialogView::Run() {
    Show();
    if (!form.Closing()) gtk_main();
}

namespace {

std::unique_ptr<DialogView> MakeView(TDialogForm& form) { return std::make_unique<GtkDialogView>(form); }

}  // namespace

}  // namespace platform

extern "C" __attribute__((visibility("default"))) const platform::DialogToolkit* TidereachDialogToolkit() {
    static constexpr platform::DialogToolkit toolkit{platform::OpenDisplay, platform::MakeView};
    return &toolkit;
}

// Ownership of a GLib object reference.
#pragma once

#include <glib-object.h>

#include <memory>

namespace platform::session {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

template <class Object>
using GObjectPtr = std::unique_ptr<Object, GObjectUnref>;

}  // namespace platform::session

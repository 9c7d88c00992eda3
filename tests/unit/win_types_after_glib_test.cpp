// GLib and the Windows types both define TRUE and FALSE: GLib first here,
// the reverse order in win_types_before_glib_test.cpp.
#include "platform/winapi/WinTypes.h"

#include <gtest/gtest.h>

#include <glib.h>

TEST(WinTypesAfterGlib, TrueAndFalseKeepTheirValues) {
    const BOOL yes = TRUE;
    const gboolean no = FALSE;
    EXPECT_EQ(yes, 1);
    EXPECT_EQ(no, 0);
}

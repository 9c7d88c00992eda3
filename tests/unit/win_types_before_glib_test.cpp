// GLib and the Windows types both define TRUE and FALSE: the Windows types
// first here, the reverse order in win_types_after_glib_test.cpp.
#include "platform/winapi/WinTypes.h"

#include <gtest/gtest.h>

#include <glib.h>

TEST(WinTypesBeforeGlib, TrueAndFalseKeepTheirValues) {
    const gboolean yes = TRUE;
    const BOOL no = FALSE;
    EXPECT_EQ(yes, 1);
    EXPECT_EQ(no, 0);
}

// The window tests need a display; without one they are skipped as a whole.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (gtk_init_check(&argc, &argv) == FALSE) {
        ::testing::GTEST_FLAG(filter) = "-*:VideoMemoryText.*:GetVRAM.*:SystemVersion.*";
    }
    return RUN_ALL_TESTS();
}

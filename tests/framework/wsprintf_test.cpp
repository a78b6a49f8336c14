#include "windows_services.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string format(const char* pattern, auto... values) {
    char buffer[WSPRINTF_LIMIT + 1];
    int written = wsprintfA(buffer, pattern, values...);
    EXPECT_EQ(written, static_cast<int>(std::string(buffer).size()));
    return buffer;
}
} // namespace

TEST(Wsprintf, FormatsTheConversionsTheGaugesUse) {
    EXPECT_EQ(format("%03ld", 7L), "007");
    EXPECT_EQ(format("%03ld", -5L), "-05");
    EXPECT_EQ(format("%04d", 1250), "1250");
    EXPECT_EQ(format("%04d", 12345), "12345");
    EXPECT_EQ(format("%03d", 0), "000");
    EXPECT_EQ(format("%d", INT32_MIN), "-2147483648");
    EXPECT_EQ(format("%03ld", static_cast<long>(INT32_MIN)), "-2147483648");
    EXPECT_EQ(format("%1s%3d", "H", 5), "H  5");
    EXPECT_EQ(format("%1s%3d", "V", 360), "V360");
    EXPECT_EQ(format("%4s", ""), "    ");
    EXPECT_EQ(format("%4d", 1013), "1013");
    EXPECT_EQ(format("%-4d|", 7), "7   |");
    EXPECT_EQ(format("%u %x %X %c %%", 4294967295u, 255u, 255u, 'Z'), "4294967295 ff FF Z %");
    EXPECT_EQ(format("%.2s", "abc"), "ab");
}

TEST(Wsprintf, StopsAtTheLimit) {
    std::string wide = format("%2000d", 1);
    EXPECT_EQ(wide.size(), static_cast<std::size_t>(WSPRINTF_LIMIT));
}

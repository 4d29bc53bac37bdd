#include "app/Funs.h"

#include <gtest/gtest.h>

#include <set>

TEST(ServerAddressTable, DeciphersToFourDistinctUpdateServers)
{
    std::set<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        const std::string base = UpdateBaseAddress(i, "chs");
        ASSERT_GE(base.size(), 12u) << i;
        EXPECT_TRUE(base.rfind("http://", 0) == 0 || base.rfind("ftp://", 0) == 0) << base;
        EXPECT_EQ(base.substr(base.size() - 5), "/chs/") << base;
        EXPECT_EQ(base.find('\0'), std::string::npos) << i;
        seen.insert(base);
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(UpdateBaseAddress(4, "eng"), "");
    EXPECT_EQ(UpdateBaseAddress(-1, "eng"), "");
}

#include "Peers.h"

#include "network/HttpText.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

TEST(FetchText, BodiesFailuresAndBounds)
{
    ASSERT_TRUE(HaveProgram("/usr/bin/python3"));
    TempDir dir;
    WriteFileBytes(dir / "page.htm", "hello\r\npage");
    WriteFileBytes(dir / "big.bin", std::string(300000, 'b'));
    THttpFolder web(dir.Path());
    ASSERT_TRUE(web.Started());
    const TFetchLimits small{1000, 2000, 100000};

    EXPECT_EQ(FetchText(web.Url("page.htm")), "hello\r\npage");
    EXPECT_EQ(FetchText(web.Url("page.htm") + " -headers \"Referer: x\""), "hello\r\npage");
    EXPECT_EQ(FetchText(web.Url("missing.htm")), "");
    EXPECT_EQ(FetchText(web.Url("big.bin"), small), "") << "larger than the limit";
    EXPECT_EQ(FetchText(web.Url("big.bin")).size(), 300000u);
    EXPECT_EQ(FetchText("http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/"), "");
    EXPECT_EQ(FetchText("file://" + dir / "page.htm"), "") << "only network schemes";
    EXPECT_EQ(FetchText(""), "");
    EXPECT_EQ(FetchText("not an address"), "");

    // Accepted by the kernel, never answered: the time limit ends it.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(FetchText("http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/", small), "");
    EXPECT_LT(clock.elapsed(), 5000);
}

} // namespace

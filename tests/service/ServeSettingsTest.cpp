#include "service/ServeSettings.h"

#include <gtest/gtest.h>

namespace
{

ServeSettings parsed(const QString &text, bool expectRead = true)
{
    ServeSettings settings;
    QString error;
    EXPECT_EQ(ServeSettings::ParseAddress(text, settings, error), expectRead) << text.toStdString();
    EXPECT_EQ(error.isEmpty(), expectRead);
    return settings;
}

} // namespace

TEST(ServeSettings, ReadsPortsAndHosts)
{
    const ServeSettings portOnly = parsed("8080");
    EXPECT_EQ(portOnly.host, "127.0.0.1");
    EXPECT_EQ(portOnly.port, 8080);
    EXPECT_EQ(parsed("127.0.0.1:9000").port, 9000);
    const ServeSettings six = parsed("[::1]:8081");
    EXPECT_EQ(six.host, "::1");
    EXPECT_EQ(six.port, 8081);
    EXPECT_TRUE(six.IsLoopback());
    EXPECT_TRUE(parsed("localhost:80").IsLoopback());
    EXPECT_EQ(parsed("localhost:80").Address(), QHostAddress(QHostAddress::LocalHost));

    for (const QString bad : {"", "0", "65536", "x", "127.0.0.1:", "127.0.0.1", "[::1]", "[::1:80",
                              "stadium-board:80", "127.0.0.1:80x", ":80"})
        parsed(bad, false);
}

TEST(ServeSettings, OffTheLoopbackATokenOrThePublicFlagIsNeeded)
{
    ServeSettings settings;
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
    settings.host = "::1";
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
    settings.host = "0.0.0.0";
    EXPECT_FALSE(settings.IsLoopback());
    EXPECT_TRUE(settings.AccessProblem().contains("--serve-token"));
    settings.token = "press-box";
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
    settings.token.clear();
    settings.isPublic = true;
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
}

TEST(ServeSettings, SplitsBrokerAddresses)
{
    QString host;
    std::optional<quint16> port;
    ASSERT_TRUE(ServeSettings::SplitHostPort("broker.local", host, port));
    EXPECT_EQ(host, "broker.local");
    EXPECT_FALSE(port);
    ASSERT_TRUE(ServeSettings::SplitHostPort("127.0.0.1:1884", host, port));
    EXPECT_EQ(*port, 1884);
    ASSERT_TRUE(ServeSettings::SplitHostPort("::1", host, port));
    EXPECT_EQ(host, "::1");
    EXPECT_FALSE(ServeSettings::SplitHostPort("127.0.0.1:0", host, port));
    EXPECT_FALSE(ServeSettings::SplitHostPort("", host, port));
}

#include "service/ServeSettings.h"

#include <gtest/gtest.h>

TEST(ServeSettings, ReadsAddressesAndRefusesOthers)
{
    ServeSettings settings;
    QString error;
    ASSERT_TRUE(ServeSettings::ParseAddress("8080", settings, error));
    EXPECT_EQ(settings.host, "127.0.0.1");
    EXPECT_EQ(settings.port, 8080);
    ASSERT_TRUE(ServeSettings::ParseAddress("[::1]:8081", settings, error));
    EXPECT_EQ(settings.host, "::1");
    EXPECT_EQ(settings.port, 8081);
    EXPECT_TRUE(settings.IsLoopback());
    for (const QString bad :
         {"", "0", "65536", "127.0.0.1", "[::1]", "[::1:80", "stadium:80", "127.0.0.1:80x", ":80"})
        EXPECT_FALSE(ServeSettings::ParseAddress(bad, settings, error)) << bad.toStdString();
}

TEST(ServeSettings, OffTheLoopbackATokenOrThePublicFlagIsNeeded)
{
    ServeSettings settings;
    settings.host = "localhost";
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
    settings.host = "0.0.0.0";
    EXPECT_TRUE(settings.AccessProblem().contains("--serve-token"));
    settings.token = "press-box";
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
    settings.token.clear();
    settings.isPublic = true;
    EXPECT_TRUE(settings.AccessProblem().isEmpty());
}

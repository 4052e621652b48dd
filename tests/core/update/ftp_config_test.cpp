#include "update/ftp_config.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/ftp_test_server.h"

namespace pinsum {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) { setenv(name, value, 1); }
    ~ScopedEnv() { unsetenv(m_name); }

private:
    const char* m_name;
};

FtpConfig Parse(const std::string& text) {
    FtpConfig config;
    ParseFtpConfig(text, "pinsum.conf", config);
    return config;
}

TEST(FtpConfig, ReadsSettingsSkippingCommentsAndBlankLines) {
    const FtpConfig config = Parse("# update server\n"
                                   "\n"
                                   "ftp.url = ftp://update.example.com/\r\n"
                                   "  ftp.user=planner  \n"
                                   "ftp.password = a#b=c \n"
                                   "ftp.passive = YES");
    EXPECT_EQ(config.url, "ftp://update.example.com/");
    EXPECT_EQ(config.user, "planner");
    EXPECT_EQ(config.password, "a#b=c");
    EXPECT_TRUE(config.passive);
    EXPECT_FALSE(Parse("ftp.passive = no").passive);
}

TEST(FtpConfig, ErrorsNameTheLineButNeverItsValue) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"ftp.url = x\nftp.password secret-value\n", "pinsum.conf line 2: expected"},
        {"ftp.pasword = secret-value", "pinsum.conf line 1: unknown setting 'ftp.pasword'"},
        {"\n\nftp.passive = secret-value", "pinsum.conf line 3: ftp.passive must be yes or no"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.text);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const FtpConfigError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
            EXPECT_EQ(message.find("secret-value"), std::string::npos) << message;
        }
    }
}

TEST(FtpConfig, TheEnvironmentOverridesTheFileInTheProgramFolder) {
    test::TempFolder folder;
    EXPECT_EQ(LoadFtpConfig(folder.Path()).url, "");

    test::WriteFile(folder.File(kFtpConfigFileName),
                    {'f', 't', 'p', '.', 'u', 's', 'e', 'r', '=', 'a', '\n'});
    {
        const ScopedEnv url("PINSUM_FTP_URL", "ftp://other/");
        const ScopedEnv passive("PINSUM_FTP_PASSIVE", "yes");
        const FtpConfig config = LoadFtpConfig(folder.Path());
        EXPECT_EQ(config.url, "ftp://other/");
        EXPECT_EQ(config.user, "a");
        EXPECT_TRUE(config.passive);
    }
    const ScopedEnv passive("PINSUM_FTP_PASSIVE", "maybe");
    EXPECT_THROW(LoadFtpConfig(folder.Path()), FtpConfigError);
}

} // namespace
} // namespace pinsum

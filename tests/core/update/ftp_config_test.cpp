#include "update/ftp_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
        {"ftp.user = a\rDELE secret-value",
         "pinsum.conf line 1: the user name must not hold a line break"},
        {"ftp.password = secret\rvalue\r\n", "pinsum.conf line 1: the password must not hold"},
        {"ftp.url = http://secret-value/", "pinsum.conf line 1: the update server address starts "
                                           "with http://, not ftp:// or ftps://"},
        {"ftp.url = file:///etc/secret-value", "pinsum.conf line 1: the update server address "
                                               "starts with file://"},
        {"ftp.url = ftp://", "pinsum.conf line 1: the update server address is no valid address"},
        {"ftp.url = ::::secret-value", "pinsum.conf line 1: the update server address is no valid"},
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

// Each error names where the bad value was set, so that it can be mended there.
TEST(FtpConfig, RefusesAnUnreadableFileAndValuesThatCannotBeSentWhereverTheyAreSet) {
    test::TempFolder folder;
    const struct {
        const char* variable;
        const char* value;
        const char* message;
    } cases[] = {
        {"PINSUM_FTP_USER", "a\r\nDELE x", "PINSUM_FTP_USER: the user name must not hold"},
        {"PINSUM_FTP_PASSWORD", "a\nb", "PINSUM_FTP_PASSWORD: the password must not hold"},
        {"PINSUM_FTP_URL", "http://update.example.com/", "PINSUM_FTP_URL: the update server"},
    };
    for (const auto& c : cases) {
        const ScopedEnv variable(c.variable, c.value);
        try {
            LoadFtpConfig(folder.Path());
            ADD_FAILURE() << "no error for " << c.variable;
        } catch (const FtpConfigError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }

    std::filesystem::create_directory(folder.File(kFtpConfigFileName));
    try {
        LoadFtpConfig(folder.Path());
        ADD_FAILURE() << "no error for a folder in the file's place";
    } catch (const FtpConfigError& e) {
        EXPECT_EQ(std::string(e.what()), "cannot read the configuration file " +
                                             folder.File(kFtpConfigFileName) + ": Is a directory");
    }
}

} // namespace
} // namespace pinsum

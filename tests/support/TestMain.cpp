// The main function of every test program: the environment's locale, and a
// private HOME and XDG folders for the whole run, removed afterwards.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "TestEnvironment.h"
#include "platform/Translate.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The locale the environment names becomes the process locale, as the
    // window's start makes it.
    std::setlocale(LC_ALL, "");
    // ... and the catalogue it asks for (German in the test environment).
    sc::UseLanguage(sc::SystemLanguage());
    sc::test::TempDir home;
    const std::string h = home.Path();
    setenv("HOME", h.c_str(), 1);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const std::string dir = h + "/" + name;
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv(name, dir.c_str(), 1);
    }
    return RUN_ALL_TESTS();
}

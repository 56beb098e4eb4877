// Feeds arbitrary text to the ini reader and writer: the text must come back
// byte for byte, a value written must read back, and every key not of the
// same name must keep its value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "platform/PathUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // The first three bytes choose the section, the key and the value written.
    const unsigned char* control = data;
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
    sc::IniFile ini("");
    ini.SetText(text);
    if (ini.Text() != text) std::abort();

    struct Entry {
        std::string section, key, value;
    };
    std::vector<Entry> before;
    const std::vector<std::string> sections = ini.SectionNames();
    for (const std::string& section : sections)
        for (const std::string& key : ini.KeyNames(section))
            before.push_back({section, key, ini.GetString(section, key, "\x01")});

    const std::string section = sections.empty() ? std::string("New") : sections[control[0] % sections.size()];
    const std::vector<std::string> keys = ini.KeyNames(section);
    const std::string key = keys.empty() ? std::string("Key") : keys[control[1] % keys.size()];
    const std::string value = "v" + std::to_string(control[2]);
    if (!ini.SetString(section, key, value)) return 0;
    if (ini.GetString(section, key) != value) std::abort();
    for (const Entry& e : before) {
        const bool sameName = sc::ToLowerAscii(e.section) == sc::ToLowerAscii(section) &&
                              sc::ToLowerAscii(e.key) == sc::ToLowerAscii(key);
        if (!sameName && ini.GetString(e.section, e.key, "\x01") != e.value) std::abort();
    }
    ini.DeleteKey(section, key);
    return 0;
}

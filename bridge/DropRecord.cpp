#include "bridge/DropRecord.h"

#include <cstdint>
#include <cstring>

namespace sc::bridge {

std::string MakeDropRecord(std::string_view name) {
    if (name.size() > kMaxDropName) return {};
    std::string record(kDropRecordSize, '\0');
    const std::uint32_t offset = kDropNameOffset;
    std::memcpy(record.data(), &offset, sizeof offset);
    // The wide-character flag at byte 16 stays 0: the name is 8-bit text.
    std::memcpy(record.data() + kDropNameOffset, name.data(), name.size());
    return record;
}

bool ReadDropRecord(std::string_view record, std::string& name) {
    if (record.size() < kDropNameOffset + 2) return false;
    std::uint32_t offset = 0;
    std::uint32_t wide = 0;
    std::memcpy(&offset, record.data(), sizeof offset);
    std::memcpy(&wide, record.data() + 16, sizeof wide);
    if (wide != 0 || offset < kDropNameOffset || offset >= record.size()) return false;
    const std::string_view names = record.substr(offset);
    const std::size_t end = names.find('\0');
    if (end == std::string_view::npos || end == 0) return false;
    name.assign(names.substr(0, end));
    return true;
}

}  // namespace sc::bridge

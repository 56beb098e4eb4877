#pragma once
// The record a file drop carries: the layout of a Windows drop-file record
// (offset of the name list, drop point, flags) with one 8-bit name.
#include <string>
#include <string_view>

namespace sc::bridge {

inline constexpr std::size_t kDropRecordSize = 281;
inline constexpr std::size_t kDropNameOffset = 20;
inline constexpr std::size_t kMaxDropName = 259;

// The record for one name; empty when the name is longer than 259 bytes.
std::string MakeDropRecord(std::string_view name);

// The first name of a drop record; false when the record is malformed.
bool ReadDropRecord(std::string_view record, std::string& name);

}  // namespace sc::bridge

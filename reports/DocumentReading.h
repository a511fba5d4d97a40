// Numbers read from a run document as written: anything no run can have
// throws std::out_of_range with what it was, and anything malformed a json
// exception; the reader turns either into its reason for refusing.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace document_reading {

using nlohmann::json;

// Reading throws json exceptions on anything malformed, and std::out_of_range
// on values no run can have; the caller turns them into a reason.
[[noreturn]] inline void Impossible(const std::string& what)
{
    throw std::out_of_range(what);
}

// A whole number from 0 to 2^64 - 1 as written: json's own conversion would
// wrap a negative number and truncate one beyond 2^64.
inline uint64_t UnsignedFrom(const json& value, const std::string& what)
{
    if (value.is_number_unsigned())
        return value.get<uint64_t>();
    if (value.is_number_integer() || (value.is_number_float() && value.get<double>() < 0))
        Impossible("a negative " + what);
    if (value.is_number_float())
        Impossible(what + " beyond 2^64");
    return value.get<uint64_t>();  // throws: not a number
}

// A whole number within [low, high] as written (json's own conversion would
// truncate a fraction and wrap a large number).
inline int32_t BoundedFrom(const json& value, int64_t low, int64_t high, const std::string& what)
{
    if (!value.is_number())
        return value.get<int32_t>();  // throws: not a number
    const bool inRange = value.is_number_integer() &&
                         !(value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(high)) &&
                         value.get<int64_t>() >= low && value.get<int64_t>() <= high;
    if (!inRange)
        Impossible(what + ": " + value.dump());
    return static_cast<int32_t>(value.get<int64_t>());
}

}  // namespace document_reading

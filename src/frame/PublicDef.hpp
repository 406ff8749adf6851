// Shared enumerations, the error record of a trapped failure, and the line break text.
#pragma once
#include <cstdint>
#include <exception>
#include <string>

#include "host/RunTimeError.hpp"

namespace tk::am {

enum AlterTypeEnum : int32_t { atUnkonwn = 0, atAdd = 1, atDec = 2, atOther = 3 };
enum AssetCodeTypeEnum : int32_t {
    acAssetCode = 1,
    acAssetCardCode = 2,
    acAssetLabel = 3,
    acAssetNationalCode = 4
};

// The host language's error object as a trapping operation sees it.
struct ErrorInfo {
    int32_t number = 0;
    std::string description;

    static ErrorInfo from(const RunTimeError& e) { return {e.number(), e.description()}; }
    static ErrorInfo from(const std::exception& e) { return {errors::kDatabase, e.what()}; }
    // The error being handled in a catch block.
    static ErrorInfo current();
};

inline constexpr const char* kCrLf = "\r\n";

}  // namespace tk::am

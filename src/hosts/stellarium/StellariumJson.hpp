// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The JSON forms of the mapping functions, for the host that keeps parsed answers, and the
// one way every field of Stellarium's answers is read (internal; not installed: it needs
// nlohmann-json).
#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "hosts/stellarium/StellariumMap.h"

namespace stellarium {

// A field of an object; null when j is no object or lacks it. A field of another type than
// the one asked for is a missing answer: nothing here throws.
inline const nlohmann::json& Field(const nlohmann::json& j, const char* key) {
    static const nlohmann::json kNone;
    if (!j.is_object()) return kNone;
    const auto it = j.find(key);
    return it == j.end() ? kNone : *it;
}
// A number field; NaN when missing or not a number.
inline double Number(const nlohmann::json& j, const char* key) {
    const nlohmann::json& f = Field(j, key);
    return f.is_number() ? f.get<double>() : NAN;
}
// A text field; empty when missing or not text.
inline std::string Text(const nlohmann::json& j, const char* key) {
    const nlohmann::json& f = Field(j, key);
    return f.is_string() ? f.get<std::string>() : std::string();
}
// A true/false field; `missing` when missing or not a boolean.
inline bool Flag(const nlohmann::json& j, const char* key, bool missing) {
    const nlohmann::json& f = Field(j, key);
    return f.is_boolean() ? f.get<bool>() : missing;
}

CString PathOfInfo(const nlohmann::json& info);
CString AnswerFromInfo(const nlohmann::json& info, const CString& path, const CString& property,
                       const InfoContext& at);

}  // namespace stellarium

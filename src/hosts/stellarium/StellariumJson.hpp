// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The JSON forms of the mapping functions, for the host that keeps parsed answers
// (internal; not installed: it needs nlohmann-json).
#include <nlohmann/json.hpp>

#include "hosts/stellarium/StellariumMap.h"

namespace stellarium {

CString PathOfInfo(const nlohmann::json& info);
CString AnswerFromInfo(const nlohmann::json& info, const CString& path, const CString& property,
                       const InfoContext& at);

}  // namespace stellarium

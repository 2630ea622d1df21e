// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The one export macro of the project. Every library is built with hidden visibility;
/// classes and functions that callers may use carry ZCMCOM_API.

/// Marks a class or function as part of the library's interface (default visibility).
#define ZCMCOM_API __attribute__((visibility("default")))

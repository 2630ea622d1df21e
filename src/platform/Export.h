#pragma once
/// @file
/// The one export macro of the project. Every library is built with hidden visibility;
/// classes and functions that callers may use carry ZCMCOM_API.
#define ZCMCOM_API __attribute__((visibility("default")))

// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Code-page conversions: MultiByteToWideChar / WideCharToMultiByte and the helpers the
/// file classes use, over glibc iconv.
///
/// Differences from Windows:
/// - The wide side is wchar_t, UTF-32 here; counts of wide characters are UTF-32 units.
/// - CP_ACP is Shift-JIS (iconv "CP932") unless the environment variable ZCMCOM_ACP names
///   another iconv encoding; CP_OEMCP is the same code page. Other numeric code pages:
///   932, 65001 (CP_UTF8), 1200/1201 are not multi-byte and are refused.
/// - Bytes that do not decode become U+FFFD each (Windows used the code page's own
///   default character); with MB_ERR_INVALID_CHARS the call fails instead.
/// - Characters the code page lacks become the default character ('?' unless one is
///   given); for CP_UTF8 lone surrogates become U+FFFD unless WC_ERR_INVALID_CHARS.
/// - Failures return 0 and set the thread's last error as Windows does
///   (ERROR_INVALID_PARAMETER, ERROR_INSUFFICIENT_BUFFER, ERROR_NO_UNICODE_TRANSLATION,
///   ERROR_INVALID_FLAGS); on failure nothing is written to the output buffer.
#include <string>

#include "platform/LastError.h"

/// @name Code pages and flags
/// @{

/// Code pages (the ANSI one, the OEM one, which is the same here, and UTF-8) and the flags
/// of the conversions. MB_ERR_INVALID_CHARS and WC_ERR_INVALID_CHARS make invalid input fail
/// the call; WC_DEFAULTCHAR is implied; the composition and best-fit flags are accepted and
/// ignored.
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_COMPOSITECHECK 0x00000200
#define WC_DEFAULTCHAR 0x00000040
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_ERR_INVALID_CHARS 0x00000080
/// @}

/// Converts mbCount bytes (-1: up to and with the terminator) of codePage to wide text in
/// wide (wideCount characters). With wideCount 0 only the size needed is returned. Returns
/// the characters written, 0 on failure (see the notes above).
ZCMCOM_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR mb, int mbCount, LPWSTR wide,
                                   int wideCount);
/// Converts wideCount characters (-1: up to and with the terminator) to codePage bytes in mb
/// (mbCount bytes; 0: only the size needed is returned). Characters the code page lacks
/// become defaultChar ('?' when nullptr) and set *usedDefaultChar. Returns the bytes
/// written, 0 on failure.
ZCMCOM_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                                   LPSTR mb, int mbCount, LPCSTR defaultChar,
                                   BOOL* usedDefaultChar);
/// 932, the number Windows reports for Shift-JIS; 0 when ZCMCOM_ACP names another one.
ZCMCOM_API UINT GetACP();
/// The iconv name of the ANSI code page ("CP932" unless ZCMCOM_ACP says otherwise).
ZCMCOM_API const char* ZcmAnsiCodePageName();

/// Whole-buffer conversions for the file classes (same rules as the calls above, without
/// the flags): invalid input becomes U+FFFD, unmappable characters '?'. They append to out.
/// @{
ZCMCOM_API void ZcmAnsiToWide(const char* bytes, size_t count, std::wstring& out);
ZCMCOM_API void ZcmWideToAnsi(const wchar_t* text, size_t count, std::string& out);
/// @}
/// UTF-16 code units (already in host order) to wide text: pairs join, lone surrogates
/// stay as they are (as Windows keeps them).
ZCMCOM_API void ZcmUtf16ToWide(const char16_t* units, size_t count, std::wstring& out);
/// Wide text to UTF-16 units; characters beyond U+FFFF become surrogate pairs, values
/// beyond U+10FFFF become U+FFFD.
ZCMCOM_API void ZcmWideToUtf16(const wchar_t* text, size_t count, std::u16string& out);

// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/FileInfo.h"

#include <vector>

#include "files/CommonFile.h"
#include "platform/CodePage.h"
#include "platform/File.h"
#include "platform/VersionInfo.h"

namespace {

// A text value of VerQueryValueW (UTF-16 units, terminator counted) as a string.
CString QueryString(const std::vector<unsigned char>& block, const CString& path) {
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path, &value, &length) || !value) return CString();
    const auto* units = static_cast<const wchar_t*>(value);
    std::u16string u16;
    for (UINT i = 0; i < length && units[i] != 0; ++i) u16 += static_cast<char16_t>(units[i]);
    std::wstring text;
    ZcmUtf16ToWide(u16.data(), u16.size(), text);
    return CString(std::move(text));
}

}  // namespace

int CFileInfo::GetFileInfo(CString path, tagFileInfo* info) {
    if (path.IsEmpty() || !info) return 0;
    info->strFileName = CCommonFile::GetFileName(path);
    CFileStatus status;
    if (!CFile::GetStatus(path, status)) return 0;
    info->tmModified = status.m_mtime;
    info->ullSize = status.m_size;
    info->byAttribute = status.m_attribute;

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return 0;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path, handle, size, block.data())) return 0;

    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length)) length = 0;
    const auto* pairs = static_cast<const unsigned char*>(value);
    static const wchar_t* const kNames[] = {
        L"CompanyName",    L"FileDescription",  L"FileVersion", L"InternalName",
        L"LegalCopyright", L"OriginalFilename", L"ProductName", L"ProductVersion"};
    for (UINT off = 0; off + 4 <= length; off += 4) {
        tagFileVersion v;
        v.wLanguage = static_cast<WORD>(pairs[off] | (pairs[off + 1] << 8));
        v.wCodePage = static_cast<WORD>(pairs[off + 2] | (pairs[off + 3] << 8));
        CString* fields[] = {&v.strCompanyName,  &v.strFileDescription, &v.strFileVersion,
                             &v.strInternalName, &v.strLegalCopyright,  &v.strOriginalFilename,
                             &v.strProductName,  &v.strProductVersion};
        for (int i = 0; i < 8; ++i) {
            CString query;
            query.Format(L"\\StringFileInfo\\%04x%04x\\%s", v.wLanguage, v.wCodePage, kNames[i]);
            *fields[i] = QueryString(block, query);
        }
        info->aVersion.Add(v);
    }
    return 1;
}

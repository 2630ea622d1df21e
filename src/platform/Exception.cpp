// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Exception.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>

CObject::~CObject() = default;

namespace {

BOOL CopyMessage(const CString& text, LPTSTR buffer, UINT maxChars, UINT* helpContext) {
    if (helpContext) *helpContext = 0;
    if (!buffer || maxChars == 0) return FALSE;
    const size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), maxChars - 1);
    wmemcpy(buffer, text.GetString(), n);
    buffer[n] = 0;
    return TRUE;
}

}  // namespace

CException::~CException() = default;

void CException::Delete() { delete this; }

BOOL CException::GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext) const {
    return CopyMessage(L"An unknown error has occurred.", buffer, maxChars, helpContext);
}

CString CException::GetMessageText() const {
    wchar_t buf[1024];
    if (!GetErrorMessage(buf, 1024)) return CString();
    return CString(buf);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext) const {
    return CopyMessage(L"Out of memory.", buffer, maxChars, helpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext) const {
    return CopyMessage(L"Encountered an improper argument.", buffer, maxChars, helpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR buffer, UINT maxChars,
                                             UINT* helpContext) const {
    return CopyMessage(L"Request not supported.", buffer, maxChars, helpContext);
}

CFileException::CFileException(int cause, LONG osError, LPCTSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

BOOL CFileException::GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext) const {
    static const wchar_t* const kCauses[] = {
        L"No error occurred",
        L"An unspecified error occurred",
        L"The file could not be located",
        L"All or part of the path is invalid",
        L"The permitted number of open files was exceeded",
        L"The file could not be accessed",
        L"There was an attempt to use an invalid file handle",
        L"The current working directory cannot be removed",
        L"There are no more directory entries",
        L"There was an error trying to set the file pointer",
        L"There was a hardware error",
        L"A sharing violation occurred",
        L"There was an attempt to lock a region that was already locked",
        L"The disk is full",
        L"The end of file was reached",
    };
    const int cause = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    CString text;
    text.Format(L"%s: %s", kCauses[cause],
                m_strFileName.IsEmpty() ? CString(L"(unknown file)") : m_strFileName);
    // (The reason is in the user's language: UTF-8, which %S in the C locale would drop.)
    if (m_lOsError > 0) text += L" (" + CString(strerror(static_cast<int>(m_lOsError))) + L")";
    return CopyMessage(text, buffer, maxChars, helpContext);
}

int CFileException::ErrnoToCause(int err) {
    switch (err) {
        case 0:
            return none;
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return badPath;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST:
            return accessDenied;
        case EBADF:
            return invalidFile;
        case EBUSY:
            return removeCurrentDir;
        case ESPIPE:
        case EINVAL:
            return badSeek;
        case EIO:
            return hardIO;
        case ETXTBSY:
            return sharingViolation;
        case EAGAIN:
            return lockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return diskFull;
        default:
            return genericException;
    }
}

COleDispatchException::COleDispatchException(LPCTSTR description, UINT helpId, WORD code)
    : m_wCode(code), m_scError(0), m_strDescription(description), m_dwHelpContext(helpId) {}

BOOL COleDispatchException::GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext) const {
    const BOOL ok = CopyMessage(
        m_strDescription.IsEmpty() ? CString(L"Automation call failed.") : m_strDescription, buffer,
        maxChars, helpContext);
    if (helpContext) *helpContext = m_dwHelpContext;
    return ok;
}

void AfxThrowMemoryException() { throw new CMemoryException(); }
void AfxThrowInvalidArgException() { throw new CInvalidArgException(); }
void AfxThrowNotSupportedException() { throw new CNotSupportedException(); }

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
    throw new CFileException(cause, osError, fileName);
}

void AfxThrowOleDispatchException(WORD code, LPCTSTR description, UINT helpId) {
    throw new COleDispatchException(description, helpId, code);
}

// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The framework's exceptions. As in MFC they are thrown as pointers to heap objects and
/// the catcher calls Delete():
///     try { ... } catch (CFileException* e) { ... e->Delete(); }
///
/// Differences from Windows: every exception is heap-allocated (MFC kept a static one
/// for out-of-memory); GetErrorMessage gives an English text.
#include "platform/Object.h"
#include "platform/String.h"

class ZCMCOM_API CException : public CObject {
public:
    CException() = default;
    ~CException() override;
    /// Frees the exception; call once in the handler.
    void Delete();
    /// Writes a description into buffer (at most maxChars characters with the terminator).
    virtual BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const;
    /// The description as a string.
    CString GetMessageText() const;
};

class ZCMCOM_API CMemoryException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

class ZCMCOM_API CInvalidArgException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

class ZCMCOM_API CNotSupportedException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

class ZCMCOM_API CFileException : public CException {
public:
    /// MFC's cause codes.
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr);
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

    /// The cause that best describes a POSIX errno value.
    static int ErrnoToCause(int err);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

/// A failing call into an automation object (the planetarium host).
class ZCMCOM_API COleDispatchException : public CException {
public:
    COleDispatchException(LPCTSTR description, UINT helpId, WORD code);
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

    WORD m_wCode;
    SCODE m_scError;
    CString m_strSource;
    CString m_strDescription;
    DWORD m_dwHelpContext;
};

[[noreturn]] ZCMCOM_API void AfxThrowMemoryException();
[[noreturn]] ZCMCOM_API void AfxThrowInvalidArgException();
[[noreturn]] ZCMCOM_API void AfxThrowNotSupportedException();
[[noreturn]] ZCMCOM_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                   LPCTSTR fileName = nullptr);
[[noreturn]] ZCMCOM_API void AfxThrowOleDispatchException(WORD code, LPCTSTR description,
                                                          UINT helpId = 0);

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

/// The base of the framework's exceptions; see the notes above for how to catch them.
class ZCMCOM_API CException : public CObject {
public:
    /// An exception; throw it with the AfxThrow functions.
    CException() = default;
    /// Use Delete, not delete, in handlers.
    ~CException() override;
    /// Frees the exception; call once in the handler.
    void Delete();
    /// Writes a description into buffer (at most maxChars characters with the terminator);
    /// *helpContext, when given, is set to 0. FALSE when buffer is null or maxChars 0.
    virtual BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const;
    /// The description as a string.
    CString GetMessageText() const;
};

/// Memory ran out.
class ZCMCOM_API CMemoryException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

/// An argument was invalid: a position outside a string or array, a null text where one
/// is needed, a time that cannot be shown.
class ZCMCOM_API CInvalidArgException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

/// The operation is not supported here.
class ZCMCOM_API CNotSupportedException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

/// A file operation failed: the cause, the system's error (errno) and the file's name.
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

    /// An exception of cause (one of the codes above), osError (errno, -1 for none) and the
    /// name of the file.
    explicit CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr);
    /// The cause in English, the file name, and the system's reason in parentheses when
    /// there is an errno value: "The disk is full: /tmp/a.txt (No space left on device)".
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

    /// The cause that best describes a POSIX errno value.
    static int ErrnoToCause(int err);

    int m_cause;            ///< one of the cause codes
    LONG m_lOsError;        ///< the errno value, -1 when none
    CString m_strFileName;  ///< the file
};

/// A failing call into an automation object (the planetarium host).
class ZCMCOM_API COleDispatchException : public CException {
public:
    /// An exception with the host's description, help id and error code.
    COleDispatchException(LPCTSTR description, UINT helpId, WORD code);
    /// The description; *helpContext gets the help id.
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

    WORD m_wCode;              ///< the host's error code
    SCODE m_scError;           ///< 0 (no separate status code)
    CString m_strSource;       ///< the source of the error, empty unless set
    CString m_strDescription;  ///< what went wrong
    DWORD m_dwHelpContext;     ///< the help id
};

/// Throws a new exception of the kind named, as a pointer (see the notes above).
/// @{
[[noreturn]] ZCMCOM_API void AfxThrowMemoryException();
[[noreturn]] ZCMCOM_API void AfxThrowInvalidArgException();
[[noreturn]] ZCMCOM_API void AfxThrowNotSupportedException();
[[noreturn]] ZCMCOM_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                   LPCTSTR fileName = nullptr);
[[noreturn]] ZCMCOM_API void AfxThrowOleDispatchException(WORD code, LPCTSTR description,
                                                          UINT helpId = 0);
/// @}

// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CRegistry: the applications' settings, read and written by section and value name below
/// one application root of the per-user registry.
///
/// Values live under `HKEY_CURRENT_USER\<application root>\<key>`, the root being
/// `"SOFTWARE\Orvana\Zentacam\3.0\"` (the camera application's key) unless SetAppRoot names
/// another. Numbers are stored as REG_DWORD, texts as REG_SZ.
///
/// The kind argument of the number calls:
///   kindBool (0) a truth value: Write stores 0 or 1, Read gives 0 or 1 whatever number is
///                stored;
///   kindInt  (1) a 32-bit signed integer, stored and read as it is.
/// Any other kind is refused: Read stores the default and returns 0, Write writes nothing
/// and returns 0.
#include "platform/Object.h"
#include "platform/String.h"

/// Reads and writes the application's settings below its registry root.
class ZCMCOM_API CRegistry : public CObject {
public:
    enum { kindBool = 0, kindInt = 1 };

    CRegistry();
    virtual ~CRegistry();

    /// Reads the number name under key into *pValue and returns non-zero. When the value is
    /// missing, is not a number, or the registry cannot be read, *pValue is def and the
    /// result 0.
    static int Read(const CString& key, const CString& name, int def, int* pValue, int kind);
    /// Reads a text value; on failure *pValue is def and the result 0.
    static int Read(const CString& key, const CString& name, const CString& def, CString* pValue);
    /// Store a number or a text, creating the key when needed; non-zero on success.
    static int Write(const CString& key, const CString& name, int value, int kind);
    /// Stores a text value (REG_SZ); non-zero on success.
    static int Write(const CString& key, const CString& name, const CString& value);

    /// The application root the key argument is resolved below, ending with a backslash.
    /// An empty root restores the default.
    static void SetAppRoot(const CString& root);
    /// The application root in force, ending with a backslash.
    static CString GetAppRoot();

    /// The application root when this object was made.
    CString m_strAppRoot;
};

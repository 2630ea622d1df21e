// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The registry: Win32-shaped calls over one SQLite database per hive.
///
/// Differences from Windows:
/// - Two hives only, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE. Their files are named by
///   ZCMCOM_REGISTRY_USER and ZCMCOM_REGISTRY_MACHINE, by default
///   $XDG_CONFIG_HOME/orvana/registry-user.sqlite and .../registry-machine.sqlite
///   ($XDG_CONFIG_HOME defaults to ~/.config). Other predefined keys are invalid handles.
/// - Values are typed REG_SZ or REG_DWORD; other types are refused with
///   ERROR_INVALID_PARAMETER. REG_SZ data are wchar_t, 4 bytes a character here, so byte
///   counts are those of wchar_t buffers. A query always returns the text with its
///   terminating zero (and asks for room for it), even when it was stored without one.
/// - Key paths and value names compare without regard to case (Unicode upper case of the
///   C.UTF-8 locale, the same in every process). Empty path components ("A\\\\B", a
///   leading or trailing backslash) are ignored. Key names keep the spelling of their
///   creation.
/// - Several processes may read and write one hive at once: every change is one SQLite
///   transaction (a CRegistryBatch makes several changes one), reads never wait for
///   writers, and a write waits for other processes' writes for up to 10 s before it fails
///   with ERROR_CANTWRITE. A change is kept once the call returns, even if the process is
///   killed; a power cut may lose the last moments of changes, never the file.
/// - Hive files are plain paths (a name starting with "file:" is a file of that name).
///   Devices, pipes and folders are refused (ERROR_CANTOPEN). The default file's folders
///   are made on the first write; the folder of a file named by a variable must exist
///   (ERROR_PATH_NOT_FOUND otherwise). ZcmRegistryProblem tells why a hive is unusable.
/// - A hive file that is missing makes reads fail with ERROR_FILE_NOT_FOUND (a write creates
///   it); one that cannot be opened, or is not an intact registry database, makes every call
///   on it fail (ERROR_CANTOPEN, ERROR_BADDB) and is never overwritten.
/// - No security descriptors, classes, volatile keys, notifications or 32/64-bit views:
///   those arguments are accepted and ignored. Access rights asked at open time are kept:
///   a key opened for reading cannot be written through (ERROR_ACCESS_DENIED).
#include "platform/String.h"
#include "platform/WinTypes.h"

/// @name Keys and access
/// @{

/// A key handle (opened by RegCreateKeyExW or RegOpenKeyExW, closed by RegCloseKey, or one
/// of the predefined hives), a pointer to one, and access rights (KEY_ values).
typedef struct HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;
typedef DWORD ACCESS_MASK;
/// @}

/// Accepted and ignored: keys carry no security descriptor here.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;                ///< size of the structure
    LPVOID lpSecurityDescriptor;  ///< ignored
    BOOL bInheritHandle;          ///< ignored
};
/// A pointer to SECURITY_ATTRIBUTES; pass nullptr.
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

/// @name Predefined keys
/// @{

/// The predefined keys. Only HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are hives here; the
/// others are invalid handles (ERROR_INVALID_HANDLE).
#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002u)
#define HKEY_USERS ((HKEY)(uintptr_t)0x80000003u)
/// @}

/// @name Value types
/// @{

/// Value types. REG_SZ (text) and REG_DWORD (32-bit number) are stored; the others are
/// refused with ERROR_INVALID_PARAMETER.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11
/// @}

/// @name Creation options and dispositions
/// @{

/// Options of RegCreateKeyExW (volatile keys are kept like the others) and its dispositions:
/// the key was created, or existed.
#define REG_OPTION_NON_VOLATILE 0x0000
#define REG_OPTION_VOLATILE 0x0001
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2
/// @}

/// @name RegGetValueW flags
/// @{

/// Flags of RegGetValueW: the value types accepted (any, or text, or number) and whether a
/// failed read clears the caller's buffer.
#define RRF_RT_REG_SZ 0x00000002
#define RRF_RT_REG_DWORD 0x00000010
#define RRF_RT_ANY 0x0000ffff
#define RRF_ZEROONFAILURE 0x20000000
/// @}

/// @name Access rights
/// @{

/// Access rights asked when a key is opened. Reading a value needs KEY_QUERY_VALUE, setting
/// or deleting one KEY_SET_VALUE; a key opened without them refuses the call with
/// ERROR_ACCESS_DENIED. The other rights and the WOW64 view flags are accepted and ignored.
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F
/// @}

/// @name Results
/// @{

/// The results of the registry calls, as in Windows: ERROR_SUCCESS, a missing key or value
/// (ERROR_FILE_NOT_FOUND), a missing folder of a hive file (ERROR_PATH_NOT_FOUND), a refused
/// access, a bad handle or argument, a buffer too small (ERROR_MORE_DATA), an unusable or
/// damaged hive file (ERROR_CANTOPEN, ERROR_BADDB), a failed read or write (ERROR_CANTREAD,
/// ERROR_CANTWRITE, ERROR_DISK_FULL, ERROR_REGISTRY_IO_FAILED), a key deleted while open, a
/// value of a type not asked for (ERROR_UNSUPPORTED_TYPE) and a cancelled batch.
#ifndef ERROR_SUCCESS
#define ERROR_SUCCESS 0L
#endif
#ifndef ERROR_FILE_NOT_FOUND
#define ERROR_FILE_NOT_FOUND 2L
#endif
#ifndef ERROR_PATH_NOT_FOUND
#define ERROR_PATH_NOT_FOUND 3L
#endif
#ifndef ERROR_ACCESS_DENIED
#define ERROR_ACCESS_DENIED 5L
#endif
#ifndef ERROR_INVALID_HANDLE
#define ERROR_INVALID_HANDLE 6L
#endif
#ifndef ERROR_NOT_ENOUGH_MEMORY
#define ERROR_NOT_ENOUGH_MEMORY 8L
#endif
#ifndef ERROR_DISK_FULL
#define ERROR_DISK_FULL 112L
#endif
#ifndef ERROR_INVALID_PARAMETER
#define ERROR_INVALID_PARAMETER 87L
#endif
#ifndef ERROR_MORE_DATA
#define ERROR_MORE_DATA 234L
#endif
#ifndef ERROR_BADDB
#define ERROR_BADDB 1009L
#endif
#ifndef ERROR_CANTOPEN
#define ERROR_CANTOPEN 1011L
#endif
#ifndef ERROR_CANTREAD
#define ERROR_CANTREAD 1012L
#endif
#ifndef ERROR_CANTWRITE
#define ERROR_CANTWRITE 1013L
#endif
#ifndef ERROR_REGISTRY_IO_FAILED
#define ERROR_REGISTRY_IO_FAILED 1016L
#endif
#ifndef ERROR_KEY_DELETED
#define ERROR_KEY_DELETED 1018L
#endif
#ifndef ERROR_UNSUPPORTED_TYPE
#define ERROR_UNSUPPORTED_TYPE 1630L
#endif
#ifndef ERROR_CANCELLED
#define ERROR_CANCELLED 1223L
#endif
/// @}

/// Creates the key (and every missing key above it) or opens it when it exists.
/// *lpdwDisposition (optional) tells which happened.
ZCMCOM_API LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                                DWORD dwOptions, REGSAM samDesired,
                                const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                                LPDWORD lpdwDisposition);
/// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
ZCMCOM_API LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                              PHKEY phkResult);
/// Reads a value. With lpData null, only the type and the size in bytes are returned;
/// a buffer that is too small gives ERROR_MORE_DATA and the size needed in *lpcbData.
ZCMCOM_API LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                 LPBYTE lpData, LPDWORD lpcbData);
/// Reads a value of the subkey lpSubKey (null or empty: hKey itself) without opening it,
/// as RegQueryValueExW would; ERROR_UNSUPPORTED_TYPE when its type is not among the RRF_RT_
/// flags. With RRF_ZEROONFAILURE a failed read clears the buffer.
ZCMCOM_API LONG RegGetValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags,
                             LPDWORD pdwType, LPVOID pvData, LPDWORD pcbData);
/// Stores a REG_SZ (text up to its first zero or cbData bytes) or a REG_DWORD (4 bytes).
ZCMCOM_API LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                               const BYTE* lpData, DWORD cbData);
/// Deletes a value; ERROR_FILE_NOT_FOUND when there is none of that name.
ZCMCOM_API LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
/// Deletes a key without subkeys, with its values (ERROR_ACCESS_DENIED when it has subkeys).
ZCMCOM_API LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
/// Closes a key opened by RegCreateKeyExW or RegOpenKeyExW (the predefined keys need no
/// closing); ERROR_INVALID_HANDLE for a handle that is no open key.
ZCMCOM_API LONG RegCloseKey(HKEY hKey);

/// Makes the changes that the calling thread makes to the hive of hKey while the object
/// lives one transaction: other processes see all of them or none, also when this process
/// dies half-way, and the lot costs one commit.
///
///     CRegistryBatch batch(HKEY_CURRENT_USER);
///     RegSetValueExW(...); CRegistry::Write(...); ...
///     if (batch.Commit() != ERROR_SUCCESS) ...  // or let the destructor commit
///
/// The thread holds the hive while the batch lives (other threads of the process wait), so
/// keep batches short, do not wait for other threads inside one and do not fork inside one.
/// A write that fails for a reason other than a missing key or value or a refusal spoils
/// the batch: later writes fail alike and nothing is stored. Batches nest; the outermost
/// one commits, and cancelling an inner one cancels them all.
class ZCMCOM_API CRegistryBatch {
public:
    /// Starts a batch on the hive of hKey (a key of that hive or the hive itself).
    explicit CRegistryBatch(HKEY hKey = HKEY_CURRENT_USER);
    /// Commits unless Commit or Cancel ran; a failure is not reported here.
    ~CRegistryBatch();
    CRegistryBatch(const CRegistryBatch&) = delete;
    CRegistryBatch& operator=(const CRegistryBatch&) = delete;

    /// ERROR_SUCCESS when every change is stored; otherwise nothing of the batch is, and the
    /// result is the first failure (ERROR_CANCELLED when an inner batch was cancelled).
    LONG Commit();
    /// Drops the batch's changes.
    void Cancel();

private:
    LONG End(bool commit);
    int m_hive;  ///< -1 for a handle that is no key
    bool m_open;
};

/// Why the last attempt to use the hive of hKey failed for the hive file itself (missing
/// folder, a device, a damaged file...), naming the file; empty when it was usable.
ZCMCOM_API CString ZcmRegistryProblem(HKEY hKey);

/// @name Unsuffixed names
/// @{

/// The names without W, as with UNICODE defined: text is always wide.
#define RegCreateKeyEx RegCreateKeyExW
#define RegOpenKeyEx RegOpenKeyExW
#define RegQueryValueEx RegQueryValueExW
#define RegGetValue RegGetValueW
#define RegSetValueEx RegSetValueExW
#define RegDeleteValue RegDeleteValueW
#define RegDeleteKey RegDeleteKeyW
/// @}

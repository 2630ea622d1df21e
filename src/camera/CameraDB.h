// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCameraDB: the cameras and sensor sizes of "zcmccd.txt", in file order, grouped by
/// maker.
#include "platform/Array.h"

class CZntFile;

/// One camera (or generic sensor size). The five values are the line's numbers in file
/// order; their meaning belongs to the application.
struct _ANGLE_OF_FIELD {
    CString strVendor;                   ///< the maker part of the name, or "(サイズ選択)"
    CString strModel;                    ///< the rest of the name
    CString strName;                     ///< the whole name without spaces
    double dValue[5] = {0, 0, 0, 0, 0};  ///< the line's five numbers
};

/// One maker group: count consecutive camera records.
struct _CAM_VENDOR {
    CString strName;  ///< the maker
    int nCount = 0;   ///< how many camera records follow in the table
};

/// The camera table of one camera database file, in file order, with its maker groups.
class ZCMCOM_API CCameraDB {
public:
    CCameraDB() = default;
    ~CCameraDB();

    /// Loads directory + "zcmccd.txt" (the directory ends with its separator); a file that
    /// cannot be read shows a message box and leaves the tables as they were.
    void Init(const CString& directory);
    /// Number of camera records.
    INT_PTR GetCameraNum() const { return m_aCamera.GetSize(); }
    /// Number of maker groups.
    INT_PTR GetVendorNum() const { return m_aVendor.GetSize(); }
    /// A copy, or a record with empty texts and values -1.0 out of range.
    _ANGLE_OF_FIELD GetCamera(int index) const;
    /// A copy, or an empty name with count -1 out of range.
    _CAM_VENDOR GetVendor(int index) const;
    /// Appends a camera record (to no maker group); returns its index.
    INT_PTR AddCamera(_ANGLE_OF_FIELD& camera);

    /// Reads one line of the file into a camera record; false for lines that are not one.
    static bool ParseLine(CString line, _ANGLE_OF_FIELD& camera);

private:
    void ReadRecords(CZntFile& file);

    CArray<_ANGLE_OF_FIELD> m_aCamera;
    CArray<_CAM_VENDOR> m_aVendor;
    CString m_strDirectory;
};

/// The maker of entries without one.
#define ZCM_CAMERA_NO_VENDOR L"(サイズ選択)"

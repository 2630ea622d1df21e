// SPDX-License-Identifier: LGPL-3.0-or-later
#include "camera/CameraDB.h"

#include "files/ZntFile.h"
#include "platform/MessageBox.h"

CCameraDB::~CCameraDB() = default;

bool CCameraDB::ParseLine(CString line, _ANGLE_OF_FIELD& camera) {
    line.Remove(L'\t');
    const int comma = line.Find(L',');
    if (comma < 0) return false;
    CString name = line.Left(comma);
    name.Trim();
    const int space = name.Find(L' ');
    if (space >= 0) {
        camera.strVendor = name.Left(space);
        camera.strModel = name.Mid(space + 1);
        camera.strModel.Trim();
    } else {
        camera.strVendor = ZCM_CAMERA_NO_VENDOR;
        camera.strModel = name;
    }
    camera.strName = name;
    camera.strName.Remove(L' ');

    CString rest = line.Mid(comma + 1);
    rest.Remove(L' ');
    int pos = 0;
    camera.dValue[0] = _wtof(rest.GetString());
    for (int i = 1; i < 5; ++i) {
        const int next = rest.Find(L',', pos);
        if (next < 0) return false;  // fewer than five numbers: not a camera
        pos = next + 1;
        camera.dValue[i] = _wtof(rest.GetString() + pos);
    }
    return true;
}

void CCameraDB::Init(const CString& directory) {
    m_strDirectory = directory;
    const CString path = directory + L"zcmccd.txt";
    CZntFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, nullptr)) {
        AfxMessageBox(CString(L"カメラの写野角データファイルが読み込めません。\r\n") + path, MB_OK);
        return;
    }
    try {
        ReadRecords(file);
    } catch (CFileException* e) {  // a line without end: the file is not a camera list
        AfxMessageBox(
            CString(L"カメラの写野角データファイルが読み込めません。\r\n") + e->GetMessageText(),
            MB_OK);
        e->Delete();
    }
    file.Abort();
}

void CCameraDB::ReadRecords(CZntFile& file) {
    CString previous;
    CString raw;
    UINT count = 0;
    while (file.ReadLine(raw, &count)) {
        file.RawLineToText(raw, count);
        _ANGLE_OF_FIELD camera;
        // Only whole records count, so each maker's count equals its camera records.
        if (!ParseLine(raw, camera)) continue;
        if (m_aVendor.IsEmpty() || camera.strVendor.CompareNoCase(previous) != 0) {
            _CAM_VENDOR vendor;
            vendor.strName = camera.strVendor;
            vendor.nCount = 1;
            m_aVendor.Add(vendor);
        } else {
            m_aVendor[m_aVendor.GetUpperBound()].nCount++;
        }
        m_aCamera.Add(camera);
        previous = camera.strVendor;
    }
}

_ANGLE_OF_FIELD CCameraDB::GetCamera(int index) const {
    if (index < 0 || index >= m_aCamera.GetSize()) {
        _ANGLE_OF_FIELD empty;
        for (double& v : empty.dValue) v = -1.0;
        return empty;
    }
    return m_aCamera[index];
}

_CAM_VENDOR CCameraDB::GetVendor(int index) const {
    if (index < 0 || index >= m_aVendor.GetSize()) {
        _CAM_VENDOR empty;
        empty.nCount = -1;
        return empty;
    }
    return m_aVendor[index];
}

INT_PTR CCameraDB::AddCamera(_ANGLE_OF_FIELD& camera) { return m_aCamera.Add(camera); }

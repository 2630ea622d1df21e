// SPDX-License-Identifier: LGPL-3.0-or-later
// The text readers on any bytes: CZntFile in every detected encoding, CZntFileEx in text
// and binary mode, and the camera database built from the same file.
#include "FuzzFile.h"
#include "camera/CameraDB.h"
#include "files/ZntFile.h"
#include "files/ZntFileEx.h"
#include "platform/MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        AfxSetMessageBoxHandler([](LPCTSTR, UINT) { return IDOK; });
        return true;
    }();
    (void)quiet;
    const std::string path = FuzzWriteFile("zcmccd.txt", data, size);
    const CString wpath(path.c_str());
    CString line;
    {
        CZntFile f;
        if (f.Open(wpath, CFile::modeRead))
            while (f.ReadString(line)) {
            }
    }
    // Reused: each reader holds a megabyte of buffer, and Open starts it afresh.
    static CZntFileEx f;
    for (UINT mode : {CFile::typeText, CFile::typeBinary}) {
        try {
            if (f.Open(wpath, CFile::modeRead | mode, 0))
                while (f.ReadString(line)) {
                }
        } catch (CException* e) {
            e->Delete();
        }
        f.Abort();
    }
    CCameraDB db;
    db.Init(CString(FuzzFolder().c_str()));
    long long total = 0;
    for (int v = 0; v < db.GetVendorNum(); ++v) total += db.GetVendor(v).nCount;
    if (total != db.GetCameraNum()) __builtin_trap();
    return 0;
}

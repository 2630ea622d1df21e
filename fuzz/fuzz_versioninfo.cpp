// SPDX-License-Identifier: LGPL-3.0-or-later
// Version records of any bytes taken as a PE file.
#include "FuzzFile.h"
#include "files/FileInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("image.dll", data, size);
    tagFileInfo info;
    CFileInfo::GetFileInfo(CString(path.c_str()), &info);
    return 0;
}

// zcmcom cameras / textfile: the camera database and the encoding-aware text files.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "camera/CameraDB.h"
#include "files/CommonFile.h"
#include "files/ZntFile.h"
#include "files/ZntFileEx.h"
#include "platform/MessageBox.h"

#ifndef ZCMCOM_DATA_DIR
#define ZCMCOM_DATA_DIR ""
#endif

namespace {

// The folder holding zcmccd.txt when none is given: beside the program, else the
// installed data folder.
CString DefaultDataDir() {
    const CString beside = CCommonFile::GetModulePath();
    if (CCommonFile::DoesFileExist(beside + L"zcmccd.txt")) return beside;
    CString dir(ZCMCOM_DATA_DIR);
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != L'/') dir += L'/';
    return dir;
}

int RunCameras(const std::vector<std::string>& args) {
    if (args.size() > 1) return UsageError("usage: cameras [DIR]");
    CString dir = args.empty() ? DefaultDataDir() : PathArgument(args[0]);
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != L'/' && dir[dir.GetLength() - 1] != L'\\') dir += L'/';
    bool failed = false;
    auto previous = AfxSetMessageBoxHandler([&](LPCTSTR text, UINT) {
        fprintf(stderr, "zcmcom: %s\n", CString(text).ToUtf8().c_str());
        failed = true;
        return IDOK;
    });
    CCameraDB db;
    db.Init(dir);
    AfxSetMessageBoxHandler(previous);
    if (failed) return 1;
    int index = 0;
    for (int v = 0; v < db.GetVendorNum(); ++v) {
        const _CAM_VENDOR vendor = db.GetVendor(v);
        CString line;
        line.Format(L"%s (%d)", vendor.strName, vendor.nCount);
        PrintLine(line);
        for (int c = 0; c < vendor.nCount; ++c, ++index) {
            const _ANGLE_OF_FIELD cam = db.GetCamera(index);
            line.Format(L"  %-28s %6.2f x %6.2f mm  %5.0f x %5.0f px  %5.2f um", cam.strModel, cam.dValue[0],
                        cam.dValue[1], cam.dValue[2], cam.dValue[3], cam.dValue[4]);
            PrintLine(line);
        }
    }
    return 0;
}

const char* EncodingName(int type) {
    switch (type) {
        case CZntFileEx::encodeUtf16BE: return "UTF-16BE";
        case CZntFileEx::encodeSJIS: return "Shift-JIS";
        case CZntFileEx::encodeUtf16LE: return "UTF-16LE";
        case CZntFileEx::encodeUtf8: return "UTF-8";
        default: return nullptr;
    }
}

// Reads every line of a file in whatever encoding it has. The file is opened once, so a
// pipe reads whole; a failure says why on standard error.
bool ReadLines(const CString& path, int& type, std::vector<CString>& lines) {
    CString line;
    try {
        CZntFileEx file;
        if (file.Open(path, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite, 0)) {
            type = file.GetEncodeTypeOfFile();
            while (file.ReadString(line)) lines.push_back(line);
            return true;
        }
        type = file.GetEncodeTypeOfFile();
        if (type != CZntFileEx::encodeUtf16BE) {  // CZntFileEx does not take big-endian files
            fprintf(stderr, "zcmcom: cannot read %s: %s\n", path.ToUtf8().c_str(), strerror(errno));
            return false;
        }
        // The first open read a pipe whole: a second one would find nothing.
        struct stat st;
        if (stat(path.ToUtf8().c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            fprintf(stderr, "zcmcom: cannot read big-endian UTF-16 from %s: not a regular file\n", path.ToUtf8().c_str());
            return false;
        }
        CZntFile be;
        if (!be.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
            fprintf(stderr, "zcmcom: cannot read %s: %s\n", path.ToUtf8().c_str(), strerror(errno));
            return false;
        }
        while (be.ReadString(line)) lines.push_back(line);
        return true;
    } catch (CException* e) {
        fprintf(stderr, "zcmcom: %s\n", e->GetMessageText().ToUtf8().c_str());
        e->Delete();
        return false;
    }
}

int ParseEncoding(const std::string& name) {
    if (name == "utf16le") return CZntFileEx::encodeUtf16LE;
    if (name == "utf16be") return CZntFileEx::encodeUtf16BE;
    if (name == "utf8") return CZntFileEx::encodeUtf8;
    if (name == "sjis") return CZntFileEx::encodeSJIS;
    return -1;
}

int Convert(const CString& in, const CString& out, int target) {
    int type;
    std::vector<CString> lines;
    if (!ReadLines(in, type, lines)) return 1;
    try {
        if (target == CZntFileEx::encodeUtf8) {
            CZntFileEx file;
            if (!file.Open(out, CFile::modeCreate | CFile::modeWrite | CFile::typeText, target)) throw 0;
            for (const auto& l : lines) file.WriteString(l + L"\n");
            file.Close();
        } else {
            CZntFile file;
            file.SetUnicode(target == CZntFileEx::encodeSJIS ? 0 : 1, target == CZntFileEx::encodeUtf16LE ? 1 : 0);
            if (!file.Open(out, CFile::modeCreate | CFile::modeWrite)) throw 0;
            for (const auto& l : lines) file.WriteString(l + L"\n");
            file.Close();
        }
    } catch (CException* e) {
        fprintf(stderr, "zcmcom: %s\n", e->GetMessageText().ToUtf8().c_str());
        e->Delete();
        return 1;
    } catch (int) {
        fprintf(stderr, "zcmcom: cannot write %s\n", out.ToUtf8().c_str());
        return 1;
    }
    return 0;
}

int RunTextFile(const std::vector<std::string>& args) {
    const char* usage = "usage: textfile info FILE | cat FILE | convert IN OUT utf8|utf16le|utf16be|sjis";
    if (args.empty()) return UsageError(usage);
    if ((args[0] == "info" || args[0] == "cat") && args.size() == 2) {
        const CString path = PathArgument(args[1]);
        int type;
        std::vector<CString> lines;
        if (!ReadLines(path, type, lines)) return 1;
        if (args[0] == "cat") {
            for (const auto& l : lines) PrintLine(l);
        } else {
            printf("encoding: %s\nlines: %zu\n", EncodingName(type), lines.size());
        }
        return 0;
    }
    if (args[0] == "convert" && args.size() == 4) {
        const int target = ParseEncoding(args[3]);
        if (target < 0) return UsageError("unknown encoding '" + args[3] + "'");
        return Convert(PathArgument(args[1]), PathArgument(args[2]), target);
    }
    return UsageError(usage);
}

const CommandRegistration kCameras({"cameras", "cameras [DIR]",
                                    "list the makers and cameras of DIR/zcmccd.txt", RunCameras});
const CommandRegistration kTextFile({"textfile", "textfile info|cat FILE, convert IN OUT ENC",
                                     "show a text file's encoding, print it, convert it", RunTextFile});

}  // namespace

// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom cameras / textfile: the camera database and the encoding-aware text files.
#include <CLI/CLI.hpp>
#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <cstring>

#include "Command.h"
#include "camera/CameraDB.h"
#include "files/CommonFile.h"
#include "files/ZntFile.h"
#include "files/ZntFileEx.h"
#include "platform/MessageBox.h"
#include "sky/Source.h"

namespace {

// The folder of zcmccd.txt when none is given: found like every data file
// ($ZCMCOM_DATA_DIR, the installed data folder, the source tree's data/).
CString DefaultDataDir() {
    const std::string path = sky::DataPath("zcmccd.txt");
    return path.empty() ? CString() : CString(path.substr(0, path.rfind('/') + 1).c_str());
}

int RunCameras(const std::string& folder) {
    if (folder.empty() && DefaultDataDir().IsEmpty())
        return Failure(
            "zcmccd.txt is in none of the data folders (set ZCMCOM_DATA_DIR to the folder that "
            "holds it)");
    CString dir = folder.empty() ? DefaultDataDir() : PathArgument(folder);
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != L'/' && dir[dir.GetLength() - 1] != L'\\')
        dir += L'/';
    bool failed = false;
    // The database's message is Japanese; the system's reason follows it in English.
    const std::string file = (dir + L"zcmccd.txt").ToUtf8();
    auto previous = AfxSetMessageBoxHandler([&](LPCTSTR text, UINT) {
        CString message(text);
        message.Replace(L"\r\n", L" ");
        message.Replace(L"\n", L" ");
        errno = 0;
        FILE* probe = fopen(file.c_str(), "rb");
        const std::string reason = probe ? "unreadable contents" : strerror(errno);
        if (probe) fclose(probe);
        fprintf(stderr, "zcmcom: %s (%s)\n", Printable(message.ToUtf8()).c_str(), reason.c_str());
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
            line.Format(L"  %-28s %6.2f x %6.2f mm  %5.0f x %5.0f px  %5.2f um", cam.strModel,
                        cam.dValue[0], cam.dValue[1], cam.dValue[2], cam.dValue[3], cam.dValue[4]);
            PrintLine(line);
        }
    }
    return 0;
}

const char* EncodingName(int type) {
    switch (type) {
        case CZntFileEx::encodeUtf16BE:
            return "UTF-16BE";
        case CZntFileEx::encodeSJIS:
            return "Shift-JIS";
        case CZntFileEx::encodeUtf16LE:
            return "UTF-16LE";
        case CZntFileEx::encodeUtf8:
            return "UTF-8";
        default:
            return nullptr;
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
            fprintf(stderr, "zcmcom: cannot read %s: %s\n", Printable(path.ToUtf8()).c_str(),
                    strerror(errno));
            return false;
        }
        // The first open read a pipe whole: a second one would find nothing.
        struct stat st;
        if (stat(path.ToUtf8().c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            fprintf(stderr, "zcmcom: cannot read big-endian UTF-16 from %s: not a regular file\n",
                    Printable(path.ToUtf8()).c_str());
            return false;
        }
        CZntFile be;
        if (!be.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
            fprintf(stderr, "zcmcom: cannot read %s: %s\n", Printable(path.ToUtf8()).c_str(),
                    strerror(errno));
            return false;
        }
        while (be.ReadString(line)) lines.push_back(line);
        return true;
    } catch (CException* e) {
        fprintf(stderr, "zcmcom: %s\n", Printable(e->GetMessageText().ToUtf8()).c_str());
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
    // Why the output cannot be opened: the system's reason, whatever the file class reports.
    const auto opened = [](const std::function<int()>& open) {
        errno = 0;
        try {
            if (open()) return std::string();
        } catch (CException* e) {
            e->Delete();
        }
        return std::string(errno ? strerror(errno) : "cannot be opened");
    };
    std::string why;
    try {
        if (target == CZntFileEx::encodeUtf8) {
            CZntFileEx file;
            why = opened([&] {
                return file.Open(out, CFile::modeCreate | CFile::modeWrite | CFile::typeText,
                                 target);
            });
            if (!why.empty()) throw 0;
            for (const auto& l : lines) file.WriteString(l + L"\n");
            file.Close();
        } else {
            CZntFile file;
            file.SetUnicode(target == CZntFileEx::encodeSJIS ? 0 : 1,
                            target == CZntFileEx::encodeUtf16LE ? 1 : 0);
            why = opened([&] { return file.Open(out, CFile::modeCreate | CFile::modeWrite); });
            if (!why.empty()) throw 0;
            for (const auto& l : lines) file.WriteString(l + L"\n");
            file.Close();
        }
    } catch (CException* e) {
        fprintf(stderr, "zcmcom: %s\n", Printable(e->GetMessageText().ToUtf8()).c_str());
        e->Delete();
        return 1;
    } catch (int) {
        return Failure("cannot write " + out.ToUtf8() + ": " + why);
    }
    return 0;
}

struct TextFileArgs {
    std::string in, out, encoding;
};

int ShowTextFile(const TextFileArgs& a, bool cat) {
    const CString path = PathArgument(a.in);
    int type;
    std::vector<CString> lines;
    if (!ReadLines(path, type, lines)) return 1;
    if (cat) {
        for (const auto& l : lines) PrintLine(l);
    } else {
        printf("encoding: %s\nlines: %zu\n", EncodingName(type), lines.size());
    }
    return 0;
}

int ConvertTextFile(const TextFileArgs& a) {
    const int target = ParseEncoding(a.encoding);
    if (target < 0) return UsageError("unknown encoding '" + a.encoding + "'");
    return Convert(PathArgument(a.in), PathArgument(a.out), target);
}

CommandRun DefineCameras(CLI::App& cmd) {
    auto folder = std::make_shared<std::string>();
    cmd.add_option("DIR", *folder, "the folder of zcmccd.txt; default: the data folder");
    return [folder] { return RunCameras(*folder); };
}

CommandRun DefineTextFile(CLI::App& cmd) {
    auto a = std::make_shared<TextFileArgs>();
    cmd.require_subcommand(1);
    auto* info = cmd.add_subcommand("info", "the file's encoding and number of lines");
    auto* cat = cmd.add_subcommand("cat", "print the file as UTF-8");
    auto* convert = cmd.add_subcommand("convert", "write IN to OUT in the encoding ENC");
    for (CLI::App* sub : {info, cat, convert})
        sub->add_option("FILE", a->in, "the text file")->required();
    convert->add_option("OUT", a->out, "the file to write")->required();
    convert->add_option("ENC", a->encoding, "utf8, utf16le, utf16be or sjis")->required();
    return [a, info, cat] {
        return info->parsed() || cat->parsed() ? ShowTextFile(*a, cat->parsed())
                                               : ConvertTextFile(*a);
    };
}

const CommandRegistration kCameras({"cameras", "list the makers and cameras of DIR/zcmccd.txt",
                                    DefineCameras});
const CommandRegistration kTextFile({"textfile",
                                     "show a text file's encoding, print it, convert it",
                                     DefineTextFile});

}  // namespace

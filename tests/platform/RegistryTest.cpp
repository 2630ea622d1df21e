#include "platform/Registry.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempRegistry.h"

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

HKEY Create(HKEY root, const wchar_t* path, REGSAM sam = KEY_ALL_ACCESS, DWORD* disp = nullptr) {
    HKEY h = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path, 0, nullptr, 0, sam, nullptr, &h, disp));
    return h;
}

LONG SetText(HKEY h, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG SetNumber(HKEY h, const wchar_t* name, DWORD value) {
    return RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

// Reads a text value through a generous buffer; the error code, or the text.
LONG GetText(HKEY h, const wchar_t* name, std::wstring* text) {
    wchar_t buffer[512];
    DWORD type = 0, size = sizeof buffer;
    const LONG err =
        RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (err == ERROR_SUCCESS) {
        if (type != REG_SZ) return ERROR_INVALID_PARAMETER;
        *text = buffer;
    }
    return err;
}

LONG GetNumber(HKEY h, const wchar_t* name, DWORD* value) {
    DWORD type = 0, size = sizeof *value;
    const LONG err =
        RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (err == ERROR_SUCCESS && type != REG_DWORD) return ERROR_INVALID_PARAMETER;
    return err;
}

class RegistryStore : public ::testing::Test {
protected:
    TempRegistry reg;
};

TEST_F(RegistryStore, ValuesRoundTripWithTypesAndSizes) {
    DWORD disp = 0;
    HKEY h = Create(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Test", KEY_ALL_ACCESS, &disp);
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disp);
    EXPECT_EQ(ERROR_SUCCESS, SetText(h, L"Path", L"/opt/\u661F\u56F3/zentavia"));
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"Count", 0xFFFFFFFEu));
    std::wstring text;
    DWORD number = 0;
    EXPECT_EQ(ERROR_SUCCESS, GetText(h, L"Path", &text));
    EXPECT_EQ(L"/opt/\u661F\u56F3/zentavia", text);
    EXPECT_EQ(ERROR_SUCCESS, GetNumber(h, L"Count", &number));
    EXPECT_EQ(0xFFFFFFFEu, number);

    // Size queries, a short buffer and a missing value.
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, L"Path", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(17 * sizeof(wchar_t), size);
    wchar_t small[4];
    size = sizeof small;
    EXPECT_EQ(ERROR_MORE_DATA,
              RegQueryValueExW(h, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(small), &size));
    EXPECT_EQ(17 * sizeof(wchar_t), size);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetNumber(h, L"Missing", &number));

    // Text stored without its zero comes back with one; an overwrite changes the type.
    const wchar_t raw[] = {L'a', L'b'};
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(h, L"Raw", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(raw), sizeof raw));
    EXPECT_EQ(ERROR_SUCCESS, GetText(h, L"Raw", &text));
    EXPECT_EQ(L"ab", text);
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"Raw", 7));
    EXPECT_EQ(ERROR_SUCCESS, GetNumber(h, L"Raw", &number));
    EXPECT_EQ(7u, number);

    // Types other than texts and numbers, and bad sizes, are refused.
    const BYTE bytes[2] = {1, 2};
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExW(h, L"B", 0, REG_BINARY, bytes, 2));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExW(h, L"B", 0, REG_DWORD, bytes, 2));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExW(h, L"B", 0, REG_SZ, nullptr, 4));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(h));

    // A second open finds what the first wrote.
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Test", 0,
                                           KEY_READ, &h));
    EXPECT_EQ(ERROR_SUCCESS, GetNumber(h, L"Count", &number));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(h));
}

TEST_F(RegistryStore, PathsAndNamesIgnoreCase) {
    HKEY h = Create(HKEY_CURRENT_USER, L"Software\\Orvana\\\u00C9t\u00E9");
    EXPECT_EQ(ERROR_SUCCESS, SetText(h, L"Name\u00E9", L"x"));
    RegCloseKey(h);
    DWORD disp = 0;
    h = Create(HKEY_CURRENT_USER, L"\\SOFTWARE\\\\orvana\\\u00C9T\u00C9\\", KEY_ALL_ACCESS, &disp);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disp);
    std::wstring text;
    EXPECT_EQ(ERROR_SUCCESS, GetText(h, L"NAME\u00C9", &text));
    EXPECT_EQ(L"x", text);
    RegCloseKey(h);
    // Subkeys open relative to an open key.
    HKEY parent = nullptr, child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"software", 0, KEY_READ, &parent));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(parent, L"ORVANA\\\u00E9t\u00E9", 0, KEY_READ, &child));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(parent, L"Orvana\\Other", 0, KEY_READ, &h));
    EXPECT_EQ(nullptr, h);
    RegCloseKey(child);
    RegCloseKey(parent);
    // A component longer than a key name may be is refused.
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(256, L'k').c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &h, nullptr));
}

TEST_F(RegistryStore, HandlesAccessAndHives) {
    HKEY h = Create(HKEY_LOCAL_MACHINE, L"SOFTWARE\\M");
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"V", 1));
    RegCloseKey(h);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\M", 0, KEY_READ, &h));
    EXPECT_TRUE(Exists(reg.machineFile()));

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\M", 0, KEY_READ, &h));
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetNumber(h, L"V", 2));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueW(h, L"V"));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(h));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(h));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetNumber(h, L"V", 2));
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegOpenKeyExW(HKEY_CLASSES_ROOT, L"x", 0, KEY_READ, &h));
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"x", 0, KEY_READ, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
}

TEST_F(RegistryStore, DeletingValuesAndKeys) {
    HKEY a = Create(HKEY_CURRENT_USER, L"A");
    HKEY b = Create(HKEY_CURRENT_USER, L"A\\B");
    HKEY sibling = Create(HKEY_CURRENT_USER, L"AB");
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(b, L"N", 1));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueW(b, L"n"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(b, L"n"));
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(b, L"N", 1));

    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, L"A"));  // has a subkey
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(a, L"b"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(a, L"b"));
    // The handle of a deleted key finds nothing and cannot write.
    DWORD n;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetNumber(b, L"N", &n));
    EXPECT_EQ(ERROR_KEY_DELETED, SetNumber(b, L"N", 1));
    // "AB" sorts right after "A\..." but is no subkey of "A".
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, L"A"));
    HKEY h;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"AB", 0, KEY_READ, &h));
    RegCloseKey(h);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, L""));
    for (HKEY k : {a, b, sibling}) RegCloseKey(k);
}

TEST_F(RegistryStore, MissingFileIsNotCreatedByReading) {
    HKEY h;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, KEY_READ, &h));
    DWORD n;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetNumber(HKEY_CURRENT_USER, L"X", &n));
    EXPECT_FALSE(Exists(reg.userFile()));
    // An empty file is an empty hive.
    WriteBytes(reg.userFile(), "");
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetNumber(HKEY_CURRENT_USER, L"X", &n));
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(HKEY_CURRENT_USER, L"X", 3));
    EXPECT_EQ(ERROR_SUCCESS, GetNumber(HKEY_CURRENT_USER, L"X", &n));
}

TEST_F(RegistryStore, DamagedOrForeignFilesFailAndStayUntouched) {
    HKEY h = Create(HKEY_CURRENT_USER, L"K");
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"N", 1));
    const std::string good = FileBytes(reg.userFile());

    // Garbage in place of the file the open connection was using.
    const std::string garbage(4096, '\x5a');
    WriteBytes(reg.userFile() + ".new", garbage);
    ASSERT_EQ(0, rename((reg.userFile() + ".new").c_str(), reg.userFile().c_str()));
    DWORD n;
    EXPECT_EQ(ERROR_BADDB, GetNumber(h, L"N", &n));
    EXPECT_EQ(ERROR_BADDB, SetNumber(h, L"N", 2));
    HKEY other;
    EXPECT_EQ(ERROR_BADDB, RegOpenKeyExW(HKEY_CURRENT_USER, L"K", 0, KEY_READ, &other));
    EXPECT_EQ(garbage, FileBytes(reg.userFile()));

    // A registry file cut short: every call fails cleanly, none crashes.
    WriteBytes(reg.userFile(), good.substr(0, 1500));
    EXPECT_NE(ERROR_SUCCESS, GetNumber(h, L"N", &n));
    EXPECT_NE(ERROR_SUCCESS, SetNumber(h, L"N", 2));
    // Bytes flipped in every page after the header.
    std::string flipped = good;
    for (size_t i = 100; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(~flipped[i]);
    WriteBytes(reg.userFile(), flipped);
    EXPECT_NE(ERROR_SUCCESS, GetNumber(h, L"N", &n));

    // A sound file again: the store recovers without a restart.
    WriteBytes(reg.userFile(), good);
    EXPECT_EQ(ERROR_SUCCESS, GetNumber(h, L"N", &n));
    EXPECT_EQ(1u, n);
    RegCloseKey(h);

    // An SQLite database of some other program is not taken over.
    const std::string foreign = reg.dir().File("foreign.sqlite");
    if (system("command -v sqlite3 >/dev/null 2>&1") == 0) {
        EXPECT_EQ(0, system(("sqlite3 " + foreign + " 'CREATE TABLE t(a)'").c_str()));
    }
    if (Exists(foreign)) {
        setenv("ZCMCOM_REGISTRY_MACHINE", foreign.c_str(), 1);
        const std::string before = FileBytes(foreign);
        EXPECT_EQ(ERROR_BADDB, SetNumber(HKEY_LOCAL_MACHINE, L"N", 1));
        EXPECT_EQ(before, FileBytes(foreign));
    }
    // A folder where the file should be.
    setenv("ZCMCOM_REGISTRY_MACHINE", reg.dir().path().c_str(), 1);
    EXPECT_NE(ERROR_SUCCESS, SetNumber(HKEY_LOCAL_MACHINE, L"N", 1));
    EXPECT_NE(ERROR_SUCCESS, GetNumber(HKEY_LOCAL_MACHINE, L"N", &n));
}

TEST_F(RegistryStore, ThreadsShareOneHive) {
    constexpr int kThreads = 4, kValues = 50;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            HKEY h = nullptr;
            const std::wstring key = L"T\\" + std::to_wstring(t);
            if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &h, nullptr) != ERROR_SUCCESS) {
                ++failures[t];
                return;
            }
            for (int i = 0; i < kValues; ++i) {
                const std::wstring name = L"v" + std::to_wstring(i);
                DWORD back = 0;
                if (SetNumber(h, name.c_str(), static_cast<DWORD>(i * 10 + t)) != ERROR_SUCCESS ||
                    GetNumber(h, name.c_str(), &back) != ERROR_SUCCESS ||
                    back != static_cast<DWORD>(i * 10 + t))
                    ++failures[t];
            }
            RegCloseKey(h);
        });
    }
    for (auto& th : threads) th.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(0, failures[t]) << "thread " << t;
}

// Two processes write their own values and read each other's at the same time; afterwards
// every value of both is there.
TEST_F(RegistryStore, TwoProcessesWriteAndReadAtOnce) {
    constexpr int kValues = 150;
    auto work = [](const wchar_t* mine, const wchar_t* theirs) -> int {
        int bad = 0;
        for (int i = 0; i < kValues; ++i) {
            HKEY h = nullptr;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, mine, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &h, nullptr) != ERROR_SUCCESS)
                return 100;
            const std::wstring name = L"v" + std::to_wstring(i);
            if (SetText(h, name.c_str(), std::wstring(mine) + name) != ERROR_SUCCESS) ++bad;
            RegCloseKey(h);
            HKEY o = nullptr;
            const LONG err = RegOpenKeyExW(HKEY_CURRENT_USER, theirs, 0, KEY_READ, &o);
            if (err == ERROR_SUCCESS) {
                std::wstring text;
                const LONG r = GetText(o, name.c_str(), &text);
                if (r == ERROR_SUCCESS ? text != std::wstring(theirs) + name
                                       : r != ERROR_FILE_NOT_FOUND)
                    ++bad;
                RegCloseKey(o);
            } else if (err != ERROR_FILE_NOT_FOUND) {
                ++bad;
            }
        }
        return bad;
    };
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) _exit(std::min(work(L"Child", L"Parent"), 120));
    const int parentBad = work(L"Parent", L"Child");
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ(0, parentBad);
    for (const wchar_t* who : {L"Parent", L"Child"}) {
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, who, 0, KEY_READ, &h));
        for (int i = 0; i < kValues; ++i) {
            const std::wstring name = L"v" + std::to_wstring(i);
            std::wstring text;
            ASSERT_EQ(ERROR_SUCCESS, GetText(h, name.c_str(), &text));
            EXPECT_EQ(std::wstring(who) + name, text);
        }
        RegCloseKey(h);
    }
}

}  // namespace

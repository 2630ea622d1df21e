// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Registry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <tuple>
#include <vector>

#include "platform/RegistryValues.h"
#include "support/TempRegistry.h"

namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

LONG Open(HKEY root, const wchar_t* path, HKEY* h) {
    return RegOpenKeyExW(root, path, 0, KEY_READ, h);
}

class RegistryStore : public ::testing::Test {
protected:
    TempRegistry reg;
};

TEST_F(RegistryStore, ValuesRoundTripWithTypesAndSizes) {
    DWORD disp = 0;
    HKEY h = CreateKey(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Test", &disp);
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disp);
    EXPECT_EQ((std::tuple{SetText(h, L"Path", L"/opt/\u661F\u56F3/zentavia"),
                          SetNumber(h, L"Count", 0xFFFFFFFEu)}),
              std::tuple(ERROR_SUCCESS, ERROR_SUCCESS));
    EXPECT_EQ(std::tuple(Text(h, L"Path"), Number(h, L"Count"), Number(h, L"Missing")),
              std::tuple(L"/opt/\u661F\u56F3/zentavia", 0xFFFFFFFEll, -ERROR_FILE_NOT_FOUND));
    // Size queries and a short buffer both give the size of the text with its zero.
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, L"Path", nullptr, &type, nullptr, &size));
    EXPECT_EQ(std::tuple(type, size), std::tuple(DWORD(REG_SZ), DWORD(17 * sizeof(wchar_t))));
    wchar_t small[4];
    size = sizeof small;
    EXPECT_EQ(ERROR_MORE_DATA,
              RegQueryValueExW(h, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(small), &size));
    EXPECT_EQ(17 * sizeof(wchar_t), size);
    // RegGetValueW reads through a subkey path and filters by type.
    DWORD number = 0;
    size = sizeof number;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"software\\orvana\\test", L"COUNT",
                                          RRF_RT_REG_DWORD, &type, &number, &size));
    EXPECT_EQ(0xFFFFFFFEu, number);
    EXPECT_EQ(ERROR_UNSUPPORTED_TYPE,
              RegGetValueW(h, nullptr, L"Count", RRF_RT_REG_SZ, nullptr, small, &size));
    size = sizeof small;
    EXPECT_EQ(ERROR_MORE_DATA, RegGetValueW(h, L"", L"Path", RRF_RT_ANY, nullptr, small, &size));
    EXPECT_EQ(17 * sizeof(wchar_t), size);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegGetValueW(h, L"Sub", L"Path", RRF_RT_ANY, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegGetValueW(h, nullptr, L"Path", 0, nullptr, nullptr, &size));
    // Text stored without its zero comes back with one; an overwrite changes the type.
    const wchar_t raw[] = {L'a', L'b'};
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(h, L"Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw));
    EXPECT_EQ(L"ab", Text(h, L"Raw"));
    EXPECT_EQ((std::tuple{SetNumber(h, L"Raw", 7), Number(h, L"Raw")}),
              std::tuple(ERROR_SUCCESS, 7LL));
    // Types other than texts and numbers, and bad sizes, are refused.
    const BYTE bytes[2] = {1, 2};
    for (auto [type, data, size] : {std::tuple<DWORD, const BYTE*, DWORD>{REG_BINARY, bytes, 2},
                                    {REG_DWORD, bytes, 2},
                                    {REG_SZ, nullptr, 4}})
        EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExW(h, L"B", 0, type, data, size)) << type;
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(h));
}

TEST_F(RegistryStore, PathsAndNamesIgnoreCase) {
    HKEY h = CreateKey(HKEY_CURRENT_USER, L"Software\\Orvana\\\u00C9t\u00E9");
    EXPECT_EQ(ERROR_SUCCESS, SetText(h, L"Name\u00E9", L"x"));
    RegCloseKey(h);
    DWORD disp = 0;
    h = CreateKey(HKEY_CURRENT_USER, L"\\SOFTWARE\\\\orvana\\\u00C9T\u00C9\\", &disp);
    EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disp);
    EXPECT_EQ(L"x", Text(h, L"NAME\u00C9"));
    RegCloseKey(h);
    // Subkeys open relative to an open key.
    HKEY parent = nullptr, child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_CURRENT_USER, L"software", &parent));
    EXPECT_EQ(ERROR_SUCCESS, Open(parent, L"ORVANA\\\u00E9t\u00E9", &child));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(parent, L"Orvana\\Other", &h));
    EXPECT_EQ(nullptr, h);
    RegCloseKey(child);
    RegCloseKey(parent);
    // A component longer than a key name may be is refused.
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(256, L'k').c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &h, nullptr));
}

TEST_F(RegistryStore, HandlesAccessAndHives) {
    EXPECT_EQ(ERROR_SUCCESS, WriteText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\M", L"V", L"1"));
    HKEY h;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(HKEY_CURRENT_USER, L"SOFTWARE\\M", &h));
    EXPECT_TRUE(Exists(reg.machineFile()));
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\M", &h));
    // Each call in order: a read-only hive, a closed handle, an unknown root, no output.
    EXPECT_EQ((std::tuple{SetNumber(h, L"V", 2), RegDeleteValueW(h, L"V"), RegCloseKey(h),
                          RegCloseKey(h), SetNumber(h, L"V", 2), Open(HKEY_CLASSES_ROOT, L"x", &h),
                          Open(HKEY_CURRENT_USER, L"x", nullptr), RegCloseKey(HKEY_CURRENT_USER)}),
              std::tuple(ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, ERROR_SUCCESS,
                         ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE,
                         ERROR_INVALID_PARAMETER, ERROR_SUCCESS));
}

TEST_F(RegistryStore, DeletingValuesAndKeys) {
    HKEY a = CreateKey(HKEY_CURRENT_USER, L"A"), b = CreateKey(HKEY_CURRENT_USER, L"A\\B");
    HKEY sibling = CreateKey(HKEY_CURRENT_USER, L"AB");
    // In order; "A" has a subkey, so it stays.
    EXPECT_EQ((std::tuple{SetNumber(b, L"N", 1), RegDeleteValueW(b, L"n"), RegDeleteValueW(b, L"n"),
                          SetNumber(b, L"N", 1), RegDeleteKeyW(HKEY_CURRENT_USER, L"A"),
                          RegDeleteKeyW(a, L"b"), RegDeleteKeyW(a, L"b")}),
              std::tuple(ERROR_SUCCESS, ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_SUCCESS,
                         ERROR_ACCESS_DENIED, ERROR_SUCCESS, ERROR_FILE_NOT_FOUND));
    // The handle of a deleted key finds nothing and cannot write.
    EXPECT_EQ((std::tuple{Number(b, L"N"), SetNumber(b, L"N", 1)}),
              std::tuple(-ERROR_FILE_NOT_FOUND, ERROR_KEY_DELETED));
    // "AB" sorts right after "A\..." but is no subkey of "A".
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, L"A"));
    HKEY h;
    EXPECT_EQ(ERROR_SUCCESS, Open(HKEY_CURRENT_USER, L"AB", &h));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, L""));
    for (HKEY k : {a, b, sibling, h}) RegCloseKey(k);
}

TEST_F(RegistryStore, MissingFileIsNotCreatedByReading) {
    HKEY h;
    EXPECT_EQ((std::tuple{Open(HKEY_CURRENT_USER, L"SOFTWARE", &h), Number(HKEY_CURRENT_USER, L"X"),
                          Exists(reg.userFile())}),
              std::tuple(ERROR_FILE_NOT_FOUND, -ERROR_FILE_NOT_FOUND, false));
    WriteFileBytes(reg.userFile(), "");  // an empty file is an empty hive
    EXPECT_EQ((std::tuple{Number(HKEY_CURRENT_USER, L"X"), SetNumber(HKEY_CURRENT_USER, L"X", 3),
                          Number(HKEY_CURRENT_USER, L"X")}),
              std::tuple(-ERROR_FILE_NOT_FOUND, ERROR_SUCCESS, 3LL));
}

TEST_F(RegistryStore, DamagedOrForeignFilesFailAndStayUntouched) {
    HKEY h = CreateKey(HKEY_CURRENT_USER, L"K"), other;
    EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"N", 1));
    // A copy of the store is the file after a checkpoint (or the file with its log).
    ASSERT_EQ("0", SqlOnFile(reg.userFile(), "PRAGMA wal_checkpoint(TRUNCATE)"));
    const std::string good = ReadFileBytes(reg.userFile());
    // Garbage in place of the file the open connection was using.
    const std::string garbage(4096, '\x5a');
    WriteFileBytes(reg.userFile() + ".new", garbage);
    ASSERT_EQ(0, rename((reg.userFile() + ".new").c_str(), reg.userFile().c_str()));
    EXPECT_EQ(
        (std::tuple{Number(h, L"N"), SetNumber(h, L"N", 2), Open(HKEY_CURRENT_USER, L"K", &other)}),
        std::tuple(-ERROR_BADDB, ERROR_BADDB, ERROR_BADDB));
    EXPECT_EQ(garbage, ReadFileBytes(reg.userFile()));
    // A file cut short, then bytes flipped in every page after the header: calls fail cleanly.
    WriteFileBytes(reg.userFile(), good.substr(0, 1500));
    EXPECT_LT(Number(h, L"N"), 0);
    EXPECT_NE(ERROR_SUCCESS, SetNumber(h, L"N", 2));
    std::string flipped = good;
    for (size_t i = 100; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(~flipped[i]);
    WriteFileBytes(reg.userFile(), flipped);
    EXPECT_LT(Number(h, L"N"), 0);
    // A sound file again: the store recovers without a restart.
    WriteFileBytes(reg.userFile(), good);
    EXPECT_EQ(1, Number(h, L"N"));
    RegCloseKey(h);
    // An SQLite database of some other program is not taken over.
    const std::string foreign = reg.dir().File("foreign.sqlite");
    ASSERT_EQ("", RawDatabase(foreign, true).Sql("CREATE TABLE t(a)"));
    setenv("ZCMCOM_REGISTRY_MACHINE", foreign.c_str(), 1);
    const std::string before = ReadFileBytes(foreign);
    EXPECT_EQ(ERROR_BADDB, SetNumber(HKEY_LOCAL_MACHINE, L"N", 1));
    EXPECT_EQ(before, ReadFileBytes(foreign));
    // A folder where the file should be.
    setenv("ZCMCOM_REGISTRY_MACHINE", reg.dir().path().c_str(), 1);
    EXPECT_NE(ERROR_SUCCESS, SetNumber(HKEY_LOCAL_MACHINE, L"N", 1));
    EXPECT_LT(Number(HKEY_LOCAL_MACHINE, L"N"), 0);
}

// Hive files are plain paths: a name that looks like an SQLite URI is a file of that name,
// devices are refused without a journal written beside them, and the folder of a named
// file must exist (the default file's folders are made).
TEST_F(RegistryStore, HiveFilesArePlainRegularFiles) {
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, chdir(reg.dir().path().c_str()));
    for (const char* uri : {"file:hive.sqlite", "file:memory?mode=memory"}) {
        setenv("ZCMCOM_REGISTRY_USER", uri, 1);
        EXPECT_EQ(ERROR_SUCCESS, SetNumber(HKEY_CURRENT_USER, L"N", 5)) << uri;
        EXPECT_EQ(5, Number(HKEY_CURRENT_USER, L"N")) << uri;
        EXPECT_TRUE(Exists(reg.dir().File(uri))) << uri;
    }
    EXPECT_FALSE(Exists(reg.dir().File("hive.sqlite")));
    ASSERT_EQ(0, chdir(cwd));

    for (const std::string device : {"/dev/null", "/dev/full"}) {
        const auto journals = [&] {
            return std::vector<bool>{Exists(device + "-journal"), Exists(device + "-wal"),
                                     Exists(device + "-shm")};
        };
        const std::vector<bool> before = journals();
        setenv("ZCMCOM_REGISTRY_USER", device.c_str(), 1);
        EXPECT_EQ(ERROR_CANTOPEN, SetNumber(HKEY_CURRENT_USER, L"N", 1)) << device;
        EXPECT_EQ(-ERROR_CANTOPEN, Number(HKEY_CURRENT_USER, L"N")) << device;
        EXPECT_EQ(CString((device + " is not a regular file").c_str()),
                  ZcmRegistryProblem(HKEY_CURRENT_USER));
        EXPECT_EQ(before, journals()) << device;
    }

    const std::string missing = reg.dir().File("missing/user.sqlite");
    setenv("ZCMCOM_REGISTRY_USER", missing.c_str(), 1);
    EXPECT_EQ((std::tuple{Number(HKEY_CURRENT_USER, L"N"), SetNumber(HKEY_CURRENT_USER, L"N", 1),
                          Exists(reg.dir().File("missing"))}),
              std::tuple(-ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, false));
    EnvRestorer config("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", reg.dir().File("config").c_str(), 1);
    unsetenv("ZCMCOM_REGISTRY_USER");
    EXPECT_EQ((std::tuple{SetNumber(HKEY_CURRENT_USER, L"N", 1),
                          Exists(reg.dir().File("config/orvana/registry-user.sqlite")),
                          ZcmRegistryProblem(HKEY_CURRENT_USER)}),
              std::tuple(ERROR_SUCCESS, true, CString()));
}

// A batch's writes reach the file together at its end, or not at all; other threads'
// writes meanwhile are not part of it.
TEST_F(RegistryStore, ABatchIsOneTransaction) {
    HKEY h = CreateKey(HKEY_CURRENT_USER, L"B");
    const auto stored = [&] {
        return SqlOnFile(reg.userFile(), "SELECT count(*) FROM reg_values");
    };
    {
        CRegistryBatch batch(h);
        EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"One", 1));
        EXPECT_EQ(ERROR_SUCCESS, WriteText(HKEY_CURRENT_USER, L"B\\New", L"Two", L"2"));
        EXPECT_EQ(1, Number(h, L"One"));  // the batch reads its own writes
        EXPECT_EQ("0", stored());
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(h, L"None"));  // leaves the batch usable
        EXPECT_EQ(ERROR_SUCCESS, batch.Commit());
    }
    EXPECT_EQ("2", stored());
    LONG theirs = -1;
    {
        CRegistryBatch outer(HKEY_CURRENT_USER);
        EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"Three", 3));
        std::thread other([&] { theirs = SetNumber(HKEY_CURRENT_USER, L"Theirs", 4); });
        {
            CRegistryBatch inner(h);
            EXPECT_EQ(ERROR_SUCCESS, SetNumber(h, L"Four", 4));
            inner.Cancel();
        }
        EXPECT_EQ(ERROR_CANCELLED, outer.Commit());
        other.join();
    }
    EXPECT_EQ((std::tuple{theirs, Number(HKEY_CURRENT_USER, L"Theirs"), Number(h, L"Three")}),
              std::tuple(ERROR_SUCCESS, 4LL, -ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ERROR_INVALID_HANDLE, CRegistryBatch(HKEY_CLASSES_ROOT).Commit());
    RegCloseKey(h);
}

// Writes `count` texts under key `mine` while reading those of key `theirs`, which another
// thread or process writes at the same time; the number of wrong results.
int WriteMineReadTheirs(const std::wstring& mine, const std::wstring& theirs, int count) {
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring name = L"v" + std::to_wstring(i);
        HKEY h = CreateKey(HKEY_CURRENT_USER, mine);
        if (!h || SetText(h, name.c_str(), mine + name) != ERROR_SUCCESS ||
            Text(h, name.c_str()) != mine + name)
            ++bad;
        RegCloseKey(h);
        HKEY o = nullptr;
        const LONG err = Open(HKEY_CURRENT_USER, theirs.c_str(), &o);
        const std::wstring text = err == ERROR_SUCCESS ? Text(o, name.c_str()) : L"";
        if (err != ERROR_FILE_NOT_FOUND && text != theirs + name && text != L"error 2") ++bad;
        RegCloseKey(o);
    }
    return bad;
}

void ExpectAllValues(const std::wstring& key, int count) {
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_CURRENT_USER, key.c_str(), &h));
    for (int i = 0; i < count; ++i) {
        const std::wstring name = L"v" + std::to_wstring(i);
        EXPECT_EQ(key + name, Text(h, name.c_str()));
    }
    RegCloseKey(h);
}

// Four threads of one process, and two processes, write their own values and read another's
// at the same time; afterwards every value is there.
TEST_F(RegistryStore, ThreadsAndProcessesShareOneHive) {
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) _exit(std::min(WriteMineReadTheirs(L"Child", L"Parent", 150), 120));
    std::vector<int> failures(5, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &failures] {
            failures[t] = WriteMineReadTheirs(L"T\\" + std::to_wstring(t),
                                              L"T\\" + std::to_wstring((t + 1) % 4), 50);
        });
    failures[4] = WriteMineReadTheirs(L"Parent", L"Child", 150);
    for (auto& th : threads) th.join();
    EXPECT_EQ(failures, std::vector<int>(5, 0));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    for (const wchar_t* key : {L"Parent", L"Child"}) ExpectAllValues(key, 150);
    for (int t = 0; t < 4; ++t) ExpectAllValues(L"T\\" + std::to_wstring(t), 50);
}

}  // namespace

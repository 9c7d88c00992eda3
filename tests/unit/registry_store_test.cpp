#include "platform/registry/KeyFile.h"
#include "platform/winapi/Registry.h"
#include "tests/unit/ConfigHomeFixture.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

namespace {

constexpr const char* kPath = "SOFTWARE\\Corvane\\Tidereach";
constexpr const char* kKeyName = "HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach";
constexpr const char* kSection = "[HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach]\n";

class RegistryStore : public ConfigHomeTest {
protected:
    static LSTATUS Create(HKEY* key, DWORD* disposition = nullptr) {
        return RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, key, disposition);
    }
    static LSTATUS Set(const char* name, DWORD type, std::vector<BYTE> data) {
        HKEY key = nullptr;
        LSTATUS status = Create(&key);
        if (status != ERROR_SUCCESS) return status;
        status = RegSetValueExA(key, name, 0, type, data.data(), DWORD(data.size()));
        RegCloseKey(key);
        return status;
    }
    static LSTATUS SetDword(const char* name, DWORD value) {
        return Set(name, REG_DWORD, {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)});
    }
    // The value's bytes, or the failure.
    static std::pair<LSTATUS, std::vector<BYTE>> Get(const char* name) {
        HKEY key = nullptr;
        LSTATUS status = RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_ALL_ACCESS, &key);
        if (status != ERROR_SUCCESS) return {status, {}};
        std::vector<BYTE> data(kMaxValue);
        DWORD size = kMaxValue;
        status = RegQueryValueExA(key, name, nullptr, nullptr, data.data(), &size);
        RegCloseKey(key);
        data.resize(status == ERROR_SUCCESS ? size : 0);
        return {status, data};
    }
    // A value as the file itself says, read without the store.
    platform::registry::LookupResult FindInFile(const char* name) const {
        return platform::registry::RegDocument::Parse(ReadText(KeyFile()), kKeyName).Find(name);
    }

    static constexpr DWORD kMaxValue = 1 << 20;
};

TEST_F(RegistryStore, ReadsCreateNothingAndCreatedKeysAreReadableText) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(std::filesystem::is_empty(Home()));
    for (const char* bad :
         {"SOFTWARE\\..\\x", "SOFTWARE\\Corvane\\", "SOFTWARE\\Corvane", "Other\\A\\B", "SOFTWARE\\a/b\\c"}) {
        EXPECT_NE(
            RegCreateKeyExA(HKEY_CURRENT_USER, bad, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS)
            << bad;
    }
    EXPECT_TRUE(std::filesystem::is_empty(Home()));

    DWORD disposition = 0;
    ASSERT_EQ(Create(&key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(ReadText(KeyFile()), std::string("REGEDIT4\n\n") + kSection);
    const char text[] = "a\\\"b";
    ASSERT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(SetDword("NumBirds", 42), ERROR_SUCCESS);
    EXPECT_EQ(ReadText(KeyFile()), std::string("REGEDIT4\n\n") + kSection +
                                       "\"Name\"=\"a\\\\\\\"b\"\n\"NumBirds\"=dword:0000002a\n");

    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, sizeof text);
    BYTE small[2];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof text);
    EXPECT_EQ(RegQueryValueExA(key, "Absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "NumBirds"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "NumBirds", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);

    // Without $XDG_CONFIG_HOME the store lives in ~/.config.
    const char* savedHome = getenv("HOME");
    std::string previousHome = savedHome != nullptr ? savedHome : "";
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", (Home() / "user").c_str(), 1);
    EXPECT_EQ(SetDword("Gamma", 1), ERROR_SUCCESS);
    setenv("HOME", previousHome.c_str(), 1);
    EXPECT_TRUE(std::filesystem::exists(Home() / "user/.config/Corvane/Tidereach.reg"));
}

TEST_F(RegistryStore, AWriteKeepsEveryLineItDoesNotChange) {
    // A file without the key's section does not hold the key.
    WriteText(KeyFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
    DWORD disposition = 0;
    ASSERT_EQ(Create(&key, &disposition), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(ReadText(KeyFile()), std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\n") + kSection);

    const std::string foreign =
        std::string("REGEDIT4\r\n\r\n; mine\r\n[HKEY_CURRENT_USER\\Other]\r\n\"Gamma\"=dword:1\r\n") +
        "\r\n" + "[HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach]\r\n" +
        "\"Gamma\"=dword:000000ff\r\n\"Weird\"=qword:01\r\n\x01\x02 binary\r\n\"Blob\"=hex:01,\\\r\n  02\r\n";
    WriteText(KeyFile(), foreign);
    EXPECT_EQ(Get("Weird").first, ERROR_BADDB);
    EXPECT_EQ(Get("Blob").second, (std::vector<BYTE>{1, 2}));
    ASSERT_EQ(SetDword("Gamma", 7), ERROR_SUCCESS);
    ASSERT_EQ(SetDword("New", 1), ERROR_SUCCESS);
    std::string expected = foreign;
    expected.replace(expected.find("dword:000000ff"), 14, "dword:00000007");
    expected += "\"New\"=dword:00000001\r\n";
    EXPECT_EQ(ReadText(KeyFile()), expected);
}

TEST_F(RegistryStore, WhatAWriteDropsFromADamagedFileIsKeptWholeBesideIt) {
    const std::string junk =
        std::string("\x89PNG\x1a\n\0 binary\n", 15) + "[HKEY_CURRENT_USER\\Other]\n\"Kept\"=dword:00000001\n";
    WriteText(KeyFile(), junk);
    ASSERT_EQ(SetDword("Gamma", 1), ERROR_SUCCESS);
    EXPECT_EQ(ReadText(KeyFile()),
              std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\"Kept\"=dword:00000001\n\n") + kSection +
                  "\"Gamma\"=dword:00000001\n");
    const std::filesystem::path first = std::filesystem::path(KeyFile()) += ".damaged-1";
    const std::filesystem::path second = std::filesystem::path(KeyFile()) += ".damaged-2";
    EXPECT_EQ(ReadText(first), junk);

    // A well-formed file is written without a copy.
    ASSERT_EQ(SetDword("Gamma", 2), ERROR_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(second));

    // Damaged again: a second copy, the first one kept.
    WriteText(KeyFile(), "\x01\x02\x03");
    ASSERT_EQ(SetDword("Gamma", 3), ERROR_SUCCESS);
    EXPECT_EQ(ReadText(first), junk);
    EXPECT_EQ(ReadText(second), "\x01\x02\x03");
    EXPECT_EQ(ReadText(KeyFile()), std::string("REGEDIT4\n\n") + kSection + "\"Gamma\"=dword:00000003\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(KeyFile().parent_path()))
        ++files;
    EXPECT_EQ(files, 4u);  // the file, its lock and the two copies
}

TEST_F(RegistryStore, FilesItCannotReadWhollyAreNeverReplaced) {
    std::string huge = std::string("REGEDIT4\n\n") + kSection + "\"Gamma\"=dword:00000001\n";
    huge.resize(platform::registry::kMaxKeyFileBytes + 1, ';');
    const std::string utf16("\xFF\xFER\0E\0G\0", 8);
    for (const std::string& content : {huge, utf16}) {
        WriteText(KeyFile(), content);
        EXPECT_EQ(Get("Gamma").first, ERROR_BADDB);
        EXPECT_NE(SetDword("Gamma", 2), ERROR_SUCCESS);
        EXPECT_EQ(ReadText(KeyFile()), content);
    }

    // A read-only file is the owner's wish, even for a process that could
    // replace it.
    WriteText(KeyFile(), std::string(kSection) + "\"Gamma\"=dword:00000001\n");
    std::filesystem::permissions(KeyFile(), std::filesystem::perms::owner_read);
    EXPECT_EQ(Get("Gamma").second, (std::vector<BYTE>{1, 0, 0, 0}));
    EXPECT_EQ(SetDword("Gamma", 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Get("Gamma").second, (std::vector<BYTE>{1, 0, 0, 0}));

    // A pipe in the file's place neither hangs a read nor is replaced.
    std::filesystem::remove(KeyFile());
    ASSERT_EQ(mkfifo(KeyFile().c_str(), 0600), 0);
    EXPECT_NE(Get("Gamma").first, ERROR_SUCCESS);
    EXPECT_NE(SetDword("Gamma", 2), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::is_fifo(KeyFile()));
}

TEST_F(RegistryStore, AFailedWriteLeavesTheOldFileWhole) {
    ASSERT_EQ(SetDword("Gamma", 1), ERROR_SUCCESS);
    const std::string before = ReadText(KeyFile());

    // Disk full: the file size limit stops the temporary file part-way.
    EXPECT_NE(Wait(Spawn([] {
                  signal(SIGXFSZ, SIG_IGN);
                  rlimit limit{40, 40};
                  setrlimit(RLIMIT_FSIZE, &limit);
                  return SetDword("Gamma", 2) == ERROR_SUCCESS ? 0 : 1;
              })),
              0);
    EXPECT_EQ(ReadText(KeyFile()), before);

    // A folder the writer may not change (root would ignore the mode, so the
    // writer drops to an ordinary user).
    std::filesystem::permissions(Home(), std::filesystem::perms::all & ~std::filesystem::perms::others_write &
                                             ~std::filesystem::perms::group_write);
    std::filesystem::permissions(
        KeyFile(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                       std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    std::filesystem::permissions(KeyFile().parent_path(), std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_exec |
                                                              std::filesystem::perms::others_read |
                                                              std::filesystem::perms::others_exec);
    EXPECT_NE(Wait(Spawn([] {
                  if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 2;
                  return SetDword("Gamma", 2) == ERROR_SUCCESS ? 0 : 1;
              })),
              0);
    EXPECT_EQ(ReadText(KeyFile()), before);
    for (const auto& entry : std::filesystem::directory_iterator(KeyFile().parent_path())) {
        EXPECT_EQ(entry.path().extension(), entry.path() == KeyFile() ? ".reg" : ".lock");
    }
}

TEST_F(RegistryStore, AKeyWhoseFolderCannotBeMadeIsNotCreated) {
    WriteText(Home() / "file", "x");
    setenv("XDG_CONFIG_HOME", (Home() / "file").c_str(), 1);
    HKEY key = nullptr;
    EXPECT_NE(Create(&key), ERROR_SUCCESS);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStore, ALinkedSettingsFileStaysWhereItsOwnerKeepsIt) {
    WriteText(Home() / "dotfiles/Tidereach.reg", "");
    std::filesystem::create_directories(KeyFile().parent_path());
    std::filesystem::create_symlink(Home() / "dotfiles/Tidereach.reg", KeyFile());
    ASSERT_EQ(SetDword("Gamma", 3), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::is_symlink(KeyFile()));
    EXPECT_NE(ReadText(Home() / "dotfiles/Tidereach.reg").find("\"Gamma\"=dword:00000003"),
              std::string::npos);
}

TEST_F(RegistryStore, WritersInSeveralProcessesAllLand) {
    constexpr int kWriters = 4;
    constexpr int kValues = 25;
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.push_back(Spawn([w] {
            for (int i = 0; i < kValues; ++i) {
                std::string name = "W" + std::to_string(w) + "_" + std::to_string(i);
                if (SetDword(name.c_str(), DWORD(w * 1000 + i)) != ERROR_SUCCESS) return 1;
            }
            return 0;
        }));
    }
    for (pid_t writer : writers) EXPECT_EQ(Wait(writer), 0);
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kValues; ++i) {
            std::string name = "W" + std::to_string(w) + "_" + std::to_string(i);
            auto [status, data] = Get(name.c_str());
            ASSERT_EQ(status, ERROR_SUCCESS) << name;
            EXPECT_EQ(data[0] | data[1] << 8, w * 1000 + i) << name;
        }
    }
}

// Readers racing a writer, and the writer killed at a random moment, must
// find the old file or the new one, never a part of either.
TEST_F(RegistryStore, ReadersAndKilledWritersSeeTheOldOrTheNewFile) {
    constexpr std::size_t kBlob = 64 * 1024;
    ASSERT_EQ(SetDword("Sentinel", 1), ERROR_SUCCESS);
    ASSERT_EQ(Set("Blob", REG_BINARY, std::vector<BYTE>(kBlob, 0)), ERROR_SUCCESS);
    auto expectWhole = [&] {
        ASSERT_EQ(FindInFile("Sentinel").state, platform::registry::Lookup::Found);
        auto blob = FindInFile("Blob");
        ASSERT_EQ(blob.state, platform::registry::Lookup::Found);
        ASSERT_EQ(blob.value.data.size(), kBlob);
        ASSERT_EQ(std::count(blob.value.data.begin(), blob.value.data.end(), blob.value.data[0]),
                  long(kBlob));
    };
    std::srand(7);
    for (int round = 0; round < 10 && !HasFatalFailure(); ++round) {
        pid_t writer = Spawn([]() -> int {
            for (int i = 1;; ++i) Set("Blob", REG_BINARY, std::vector<BYTE>(kBlob, BYTE(i)));
        });
        auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(1000 + std::rand() % 30000);
        while (std::chrono::steady_clock::now() < end && !HasFatalFailure()) expectWhole();
        kill(writer, SIGKILL);
        Wait(writer);
        expectWhole();
    }
    EXPECT_EQ(SetDword("Sentinel", 2), ERROR_SUCCESS);  // the dead writer's lock is gone
}

}  // namespace

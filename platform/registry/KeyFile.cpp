#include "platform/registry/KeyFile.h"

#include "platform/registry/Ascii.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace platform::registry {

namespace fs = std::filesystem;

namespace {

// A peer holds the lock only while it writes a few kilobytes; waiting longer
// than this means it is stopped, and the write fails instead of hanging.
constexpr auto kLockPatience = std::chrono::seconds(10);

// Copies of damaged files kept beside a key's file; past this many, further
// writes that would drop bytes fail instead.
constexpr int kMaxDamagedCopies = 1000;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error a late write-back can give.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool IsSafeSegment(std::string_view segment) {
    return !segment.empty() && segment != "." && segment != ".." &&
           segment.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

// Holds an exclusive flock on the key's lock file for its lifetime.
class KeyLock {
public:
    explicit KeyLock(const fs::path& file) : fd_(OpenLockFile(fs::path(file) += ".lock")) {
        if (!fd_.valid()) return;
        auto deadline = std::chrono::steady_clock::now() + kLockPatience;
        auto pause = std::chrono::microseconds(200);
        while (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return;
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(5000));
        }
        held_ = true;
    }
    bool held() const { return held_; }

private:
    static int OpenLockFile(const fs::path& path) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        return fd >= 0 ? fd : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    }

    FileDescriptor fd_;
    bool held_ = false;
};

// The file a write replaces: the target of a link, so that a settings file
// kept elsewhere and linked here stays where its owner put it.
fs::path ReplacementTarget(const fs::path& file) {
    std::error_code error;
    if (!fs::is_symlink(file, error)) return file;
    fs::path target = fs::canonical(file, error);
    return error ? file : target;
}

// Writes `text` to a new file at `path` with `mode` and syncs it.
bool WriteSynced(const fs::path& path, std::string_view text, mode_t mode) {
    FileDescriptor out(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!out.valid()) return false;
    bool written = ::fchmod(out.get(), mode) == 0 && WriteAll(out.get(), text) && ::fsync(out.get()) == 0;
    if (!out.Close() || !written) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

// Makes a rename or link in the folder survive a power loss; a file system
// that cannot sync a folder does not make the write a failure.
void SyncFolder(const fs::path& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

FileStatus ReplaceFile(const fs::path& target, std::string_view text, mode_t mode) {
    fs::path temporary = fs::path(target) += ".tmp";
    if (!WriteSynced(temporary, text, mode)) return FileStatus::WriteFailed;
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return FileStatus::WriteFailed;
    }
    SyncFolder(target.parent_path());
    return FileStatus::Ok;
}

// Puts the file's whole text beside it, as <name>.damaged-N under the first
// N no earlier copy has, so that what a write drops as no part of a store is
// not lost. The copy appears whole or not at all, and is never replaced.
FileStatus KeepAside(const fs::path& target, std::string_view text) {
    fs::path temporary = fs::path(target) += ".damaged.tmp";
    if (!WriteSynced(temporary, text, 0600)) return FileStatus::WriteFailed;
    FileStatus status = FileStatus::WriteFailed;
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        fs::path copy = fs::path(target) += ".damaged-" + std::to_string(n);
        if (::link(temporary.c_str(), copy.c_str()) == 0) {
            status = FileStatus::Ok;
            break;
        }
        if (errno != EEXIST) break;
    }
    ::unlink(temporary.c_str());
    if (status == FileStatus::Ok) SyncFolder(target.parent_path());
    return status;
}

}  // namespace

std::optional<fs::path> ConfigHome() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return fs::path(config);
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return fs::path(home) / ".config";
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return fs::path(found->pw_dir) / ".config";
    }
    return std::nullopt;
}

std::optional<KeyLocation> LocateKey(std::string_view subKey) {
    std::vector<std::string_view> segments;
    for (std::size_t start = 0;;) {
        std::size_t end = subKey.find('\\', start);
        segments.push_back(subKey.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    if (segments.size() < 3 || !EqualsNoCase(segments[0], "SOFTWARE")) return std::nullopt;
    std::optional<fs::path> file = ConfigHome();
    if (!file) return std::nullopt;
    for (std::size_t i = 1; i < segments.size(); ++i) {
        if (!IsSafeSegment(segments[i])) return std::nullopt;
        *file /= std::string(segments[i]);
    }
    *file += ".reg";
    return KeyLocation{"HKEY_CURRENT_USER\\" + std::string(subKey), std::move(*file)};
}

KeyFileText ReadKeyFile(const fs::path& file) {
    // Non-blocking, so that a pipe put in the file's place cannot stall the open.
    FileDescriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!in.valid()) {
        if (errno == ENOENT || errno == ENOTDIR) return {FileStatus::Missing, {}};
        if (errno == EACCES || errno == EPERM) return {FileStatus::Denied, {}};
        return {FileStatus::Unreadable, {}};
    }
    struct stat info {};
    if (::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        std::size_t(info.st_size) > kMaxKeyFileBytes) {
        return {FileStatus::Unreadable, {}};
    }
    // Read to the end whatever the size said, as the file may have grown,
    // but never past the limit.
    std::string text(std::size_t(info.st_size) + 1, '\0');
    std::size_t length = 0;
    while (true) {
        if (length == text.size()) {
            if (text.size() > kMaxKeyFileBytes) break;
            text.resize(std::min(text.size() * 2, kMaxKeyFileBytes + 1));
        }
        ssize_t got = ::read(in.get(), text.data() + length, text.size() - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {FileStatus::Unreadable, {}};
        if (got == 0) break;
        length += std::size_t(got);
    }
    text.resize(length);
    // A regedit export of the later, UTF-16 format would be damaged by lines
    // added in 8-bit text.
    bool utf16 = text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF");
    if (length > kMaxKeyFileBytes || utf16) return {FileStatus::Unreadable, {}};
    return {FileStatus::Ok, std::move(text)};
}

FileStatus UpdateKeyFile(const KeyLocation& key, const std::function<bool(RegDocument&)>& change) {
    std::error_code error;
    fs::create_directories(key.file.parent_path(), error);
    if (error) return FileStatus::WriteFailed;
    KeyLock lock(key.file);
    if (!lock.held()) return FileStatus::WriteFailed;

    fs::path target = ReplacementTarget(key.file);
    KeyFileText current = ReadKeyFile(target);
    bool exists = current.status == FileStatus::Ok;
    if (!exists && current.status != FileStatus::Missing) return current.status;
    mode_t mode = 0600;
    if (exists) {
        struct stat info {};
        if (::stat(target.c_str(), &info) != 0) return FileStatus::WriteFailed;
        if ((info.st_mode & S_IWUSR) == 0) return FileStatus::Denied;
        mode = info.st_mode & 07777;
    }
    RegDocument document = RegDocument::Parse(current.text, key.name);
    if (!change(document)) return FileStatus::Ok;
    std::string text = document.Serialize();
    if (text.size() > kMaxKeyFileBytes) return FileStatus::WriteFailed;
    if (!document.Dropped().empty()) {
        FileStatus kept = KeepAside(target, current.text);
        if (kept != FileStatus::Ok) return kept;
    }
    return ReplaceFile(target, text, mode);
}

}  // namespace platform::registry

#include "core/FileUtil.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

namespace fs = std::filesystem;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

std::string ToUpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return r;
}

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string r(dir);
    if (!r.empty() && r.back() != '/') r += '/';
    r += name;
    return r;
}

std::string DirectoryOf(std::string_view path) {
    size_t p = path.rfind('/');
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(ResolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string ResolvePath(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) == 0) return path;
    std::string dir = DirectoryOf(path);
    std::string name = path.substr(dir.size());
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec);
    if (ec) return path;
    for (const auto& entry : it) {
        std::string candidate = entry.path().filename().string();
        if (EqualsNoCase(candidate, name)) return dir + candidate;
    }
    return path;
}

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
    RandomAccessFile f;
    if (!f.Open(path) || f.Size() > maxBytes) return std::nullopt;
    return f.ReadExact(0, size_t(f.Size()));
}

bool WriteFileAtomic(const std::string& path, std::string_view data) {
    static std::mt19937_64 rng{std::random_device{}()};
    std::string tmp =
        path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(rng() % 1000000);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = data.data();
    size_t left = data.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

bool CopyFileNoOverwrite(const std::string& src, const std::string& dst) {
    if (FileExists(dst)) return false;
    auto data = ReadWholeFile(src);
    if (!data) return false;
    // Create exclusively so an existing file is never overwritten, then fill it atomically.
    int fd = ::open(dst.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    if (!WriteFileAtomic(dst, *data)) {
        ::unlink(dst.c_str());
        return false;
    }
    return true;
}

RandomAccessFile::~RandomAccessFile() {
    Close();
}

RandomAccessFile::RandomAccessFile(RandomAccessFile&& o) noexcept : fd_(o.fd_), size_(o.size_) {
    o.fd_ = -1;
    o.size_ = 0;
}

RandomAccessFile& RandomAccessFile::operator=(RandomAccessFile&& o) noexcept {
    if (this != &o) {
        Close();
        fd_ = o.fd_;
        size_ = o.size_;
        o.fd_ = -1;
        o.size_ = 0;
    }
    return *this;
}

bool RandomAccessFile::Open(const std::string& path) {
    return OpenExact(ResolvePath(path));
}

bool RandomAccessFile::OpenExact(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = uint64_t(st.st_size);
    return true;
}

void RandomAccessFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

size_t RandomAccessFile::ReadAt(uint64_t offset, void* dst, size_t n) const {
    if (fd_ < 0 || offset >= size_) return 0;
    size_t done = 0;
    char* out = static_cast<char*>(dst);
    while (done < n) {
        ssize_t r = ::pread(fd_, out + done, n - done, off_t(offset + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += size_t(r);
    }
    return done;
}

std::optional<std::string> RandomAccessFile::ReadExact(uint64_t offset, size_t n) const {
    if (offset > size_ || n > size_ - offset) return std::nullopt;
    std::string s(n, '\0');
    if (ReadAt(offset, s.data(), n) != n) return std::nullopt;
    return s;
}

} // namespace zor

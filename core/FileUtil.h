// File helpers: whole-file reads, random access, case-insensitive lookup and atomic writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

// Joins a directory that ends with a separator (or is empty) and a file name.
std::string JoinPath(std::string_view dir, std::string_view name);

// Directory part of a path including its trailing '/', or "" when it has none.
std::string DirectoryOf(std::string_view path);

// The path of an existing file: `path` itself when it exists, else the entry of its directory
// whose name matches the last component case-insensitively (data made on Windows often has
// upper-case names). Returns `path` unchanged when neither exists.
std::string ResolvePath(const std::string& path);

bool FileExists(const std::string& path);
// Whether a directory is there (exact name), and whether anything is.
bool IsDirectory(const std::string& path);
bool PathExists(const std::string& path);
// A directory path without its trailing '/' ("/" stays).
std::string WithoutTrailingSeparator(std::string path);

// Reads a whole file (after ResolvePath). Fails when the file cannot be opened or is larger
// than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = size_t(256)
                                                                                    << 20);

// Replaces `path` atomically: writes a temporary file in the same directory, flushes it to
// disk and renames it over the target, so a crash leaves either the old or the new file whole.
bool WriteFileAtomic(const std::string& path, std::string_view data);

// Copies src to dst unless dst exists; false on any failure or when dst exists.
bool CopyFileNoOverwrite(const std::string& src, const std::string& dst);

// A read-only file for positioned reads.
class RandomAccessFile {
public:
    RandomAccessFile() = default;
    ~RandomAccessFile();
    RandomAccessFile(const RandomAccessFile&) = delete;
    RandomAccessFile& operator=(const RandomAccessFile&) = delete;
    RandomAccessFile(RandomAccessFile&& o) noexcept;
    RandomAccessFile& operator=(RandomAccessFile&& o) noexcept;

    // Opens the file read-only (after ResolvePath).
    bool Open(const std::string& path);
    // Opens exactly this path read-only, without the case-insensitive lookup.
    bool OpenExact(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    uint64_t Size() const { return size_; }
    // Reads up to n bytes at offset; returns the number of bytes read (0 at or past the end).
    size_t ReadAt(uint64_t offset, void* dst, size_t n) const;
    // Reads exactly n bytes at offset into a string; nullopt when fewer are available.
    std::optional<std::string> ReadExact(uint64_t offset, size_t n) const;

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Case-insensitive (ASCII) comparison of two byte strings.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);

} // namespace zor

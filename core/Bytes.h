// Little-endian byte access for the binary data files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zor {

// Reads little-endian values from a byte range. Every read is bounds-checked: a read past the
// end yields zeros and marks the reader failed, so parsers check `ok()` once after a batch.
class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const void* data, size_t size)
        : p_(static_cast<const uint8_t*>(data)), size_(size) {}
    explicit ByteReader(std::string_view s) : ByteReader(s.data(), s.size()) {}

    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return pos_ <= size_ ? size_ - pos_ : 0; }
    bool has(size_t n) const { return n <= remaining(); }
    void seek(size_t pos) {
        if (pos > size_) {
            ok_ = false;
            pos_ = size_;
        } else
            pos_ = pos;
    }
    void skip(size_t n) { seek(has(n) ? pos_ + n : size_ + 1); }

    uint8_t u8() {
        if (!has(1)) return fail<uint8_t>();
        return p_[pos_++];
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint16_t u16() {
        if (!has(2)) return fail<uint16_t>();
        const auto v = static_cast<uint16_t>(p_[pos_] | p_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    uint32_t u32() {
        if (!has(4)) return fail<uint32_t>();
        uint32_t v = uint32_t(p_[pos_]) | uint32_t(p_[pos_ + 1]) << 8 |
                     uint32_t(p_[pos_ + 2]) << 16 | uint32_t(p_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    float f32() {
        uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    // A fixed-width name field of n bytes, cut at its first zero byte.
    std::string name(size_t n) {
        if (!has(n)) {
            ok_ = false;
            pos_ = size_;
            return {};
        }
        const char* s = reinterpret_cast<const char*>(p_ + pos_);
        pos_ += n;
        return std::string(s, strnlen(s, n));
    }
    // n raw bytes.
    std::string bytes(size_t n) {
        if (!has(n)) {
            ok_ = false;
            pos_ = size_;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(p_ + pos_), n);
        pos_ += n;
        return s;
    }
    bool magic(const char* m) { return bytes(3) == std::string_view(m, 3); }

private:
    template <class T> T fail() {
        ok_ = false;
        pos_ = size_;
        return T{};
    }
    const uint8_t* p_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Appends little-endian values to a byte string.
class ByteWriter {
public:
    std::string& data() { return buf_; }
    const std::string& data() const { return buf_; }
    size_t size() const { return buf_.size(); }

    void u8(uint8_t v) { buf_.push_back(char(v)); }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) u8(uint8_t(v >> (8 * i)));
    }
    void f32(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        u32(bits);
    }
    // A fixed-width name field: the text cut to n bytes, zero-padded.
    void name(std::string_view s, size_t n) {
        size_t k = s.size() < n ? s.size() : n;
        buf_.append(s.data(), k);
        buf_.append(n - k, '\0');
    }
    void bytes(std::string_view s) { buf_.append(s); }
    void zeros(size_t n) { buf_.append(n, '\0'); }

private:
    std::string buf_;
};

} // namespace zor

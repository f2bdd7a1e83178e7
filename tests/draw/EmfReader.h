// Reads enhanced metafiles back for the tests: the record list and little-endian fields.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace zor::draw::test {

struct EmfRecord {
    uint32_t type = 0;
    uint32_t size = 0;
    size_t offset = 0; // of the record in the file
};

class EmfFile {
public:
    explicit EmfFile(std::string bytes) : bytes_(std::move(bytes)) {
        size_t pos = 0;
        while (pos + 8 <= bytes_.size()) {
            EmfRecord r{U32(pos), U32(pos + 4), pos};
            records_.push_back(r);
            if (r.size < 8) {
                malformed_ = true;
                break;
            }
            pos += r.size;
        }
        if (pos != bytes_.size()) malformed_ = true;
    }

    bool Malformed() const { return malformed_; }
    const std::string& Bytes() const { return bytes_; }
    const std::vector<EmfRecord>& Records() const { return records_; }

    std::vector<EmfRecord> OfType(uint32_t type) const {
        std::vector<EmfRecord> out;
        for (const EmfRecord& r : records_)
            if (r.type == type) out.push_back(r);
        return out;
    }
    size_t Count(uint32_t type) const { return OfType(type).size(); }

    uint32_t U32(size_t at) const {
        if (at + 4 > bytes_.size()) return 0;
        uint32_t v;
        std::memcpy(&v, bytes_.data() + at, 4);
        return v;
    }
    int32_t I32(size_t at) const { return int32_t(U32(at)); }
    uint16_t U16(size_t at) const {
        if (at + 2 > bytes_.size()) return 0;
        return uint16_t(uint8_t(bytes_[at]) | uint8_t(bytes_[at + 1]) << 8);
    }
    int16_t I16(size_t at) const { return int16_t(U16(at)); }
    float F32(size_t at) const {
        uint32_t v = U32(at);
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    // Field `index` (32-bit words after the type and size) of a record.
    int32_t Field(const EmfRecord& r, size_t index) const { return I32(r.offset + 8 + 4 * index); }
    std::u16string Utf16(size_t at, size_t chars) const {
        std::u16string s;
        for (size_t i = 0; i < chars; ++i) s.push_back(char16_t(U16(at + 2 * i)));
        return s;
    }

private:
    std::string bytes_;
    std::vector<EmfRecord> records_;
    bool malformed_ = false;
};

} // namespace zor::draw::test

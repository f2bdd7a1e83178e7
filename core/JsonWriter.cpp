#include "core/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zor {

void JsonWriter::Separator() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    Separator();
    out_ += '{';
    first_.push_back(true);
    return *this;
}
JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    first_.pop_back();
    return *this;
}
JsonWriter& JsonWriter::BeginArray() {
    Separator();
    out_ += '[';
    first_.push_back(true);
    return *this;
}
JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    first_.pop_back();
    return *this;
}
JsonWriter& JsonWriter::Key(std::string_view k) {
    String(k);
    out_ += ':';
    afterKey_ = true;
    return *this;
}
JsonWriter& JsonWriter::String(std::string_view s) {
    Separator();
    out_ += '"';
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out_ += "\\\"";
            break;
        case '\\':
            out_ += "\\\\";
            break;
        case '\n':
            out_ += "\\n";
            break;
        case '\r':
            out_ += "\\r";
            break;
        case '\t':
            out_ += "\\t";
            break;
        case '\b':
            out_ += "\\b";
            break;
        case '\f':
            out_ += "\\f";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out_ += buf;
            } else {
                out_ += ch;
            }
        }
    }
    out_ += '"';
    return *this;
}
JsonWriter& JsonWriter::Int(int64_t v) {
    Separator();
    out_ += std::to_string(v);
    return *this;
}
JsonWriter& JsonWriter::Bool(bool v) {
    Separator();
    out_ += v ? "true" : "false";
    return *this;
}
JsonWriter& JsonWriter::Null() {
    Separator();
    out_ += "null";
    return *this;
}
JsonWriter& JsonWriter::Float(float v) {
    if (!std::isfinite(v)) return Null();
    Separator();
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, r.ptr);
    return *this;
}
JsonWriter& JsonWriter::Double(double v) {
    if (!std::isfinite(v)) return Null();
    Separator();
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, r.ptr);
    return *this;
}

} // namespace zor

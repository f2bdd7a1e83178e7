// A small streaming JSON writer: zorexport's output and the data views report about themselves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view k);
    // A UTF-8 string value (escaped as JSON requires).
    JsonWriter& String(std::string_view s);
    JsonWriter& Int(int64_t v);
    JsonWriter& Bool(bool v);
    JsonWriter& Null();
    // A float32 in the shortest text that reads back to the same float; NaN and infinities
    // have no JSON form and are written as null.
    JsonWriter& Float(float v);
    // A double in the shortest text that reads back to the same double.
    JsonWriter& Double(double v);

    const std::string& str() const { return out_; }

private:
    void Separator();
    std::string out_;
    std::vector<bool> first_; // per open container: no element written yet
    bool afterKey_ = false;
};

} // namespace zor

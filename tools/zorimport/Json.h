// The importer's manifest as a tree of JSON values that remember their line, read with the
// nlohmann JSON library (RFC 8259).
//
// Strict: no comments, no trailing commas, no duplicate keys in one object, strings must be
// valid UTF-8, nesting is limited. Every value remembers the line it is on (for arrays and
// objects the line of the opening bracket), so that callers can report errors in the source.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor::import {

class JsonValue {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    JsonValue() = default;
    JsonValue(JsonValue&&) noexcept = default;
    JsonValue& operator=(JsonValue&&) noexcept = default;
    ~JsonValue();

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isBool() const { return type_ == Type::Bool; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isString() const { return type_ == Type::String; }
    bool isArray() const { return type_ == Type::Array; }
    bool isObject() const { return type_ == Type::Object; }

    bool boolean() const { return bool_; }
    double number() const { return number_; }
    const std::string& string() const;
    const std::vector<JsonValue>& items() const;
    const std::vector<std::pair<std::string, JsonValue>>& members() const;

    // The member with this key, or nullptr (also when this is not an object).
    const JsonValue* find(std::string_view key) const;

    // The line the value is on in its text (1-based).
    int line() const { return line_; }

    // Name of a type for messages: "null", "a boolean", "a number", ...
    static const char* TypeName(Type t);

private:
    friend class JsonTreeBuilder;
    // Strings, arrays and objects keep their contents apart, so that numbers stay small.
    struct Contents;
    Contents& contents();

    Type type_ = Type::Null;
    bool bool_ = false;
    int line_ = 0;
    double number_ = 0;
    std::unique_ptr<Contents> contents_;
};

struct JsonError {
    int line = 0;
    int column = 0;
    std::string message;
};

inline constexpr int JsonMaxDepth = 200;

// Parses one JSON text (a UTF-8 byte order mark at the start is skipped). On failure returns
// nullopt and fills *error when given.
std::optional<JsonValue> ParseJson(std::string_view text, JsonError* error = nullptr);

} // namespace zor::import

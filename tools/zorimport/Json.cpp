#include "tools/zorimport/Json.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <iterator>
#include <set>

namespace zor::import {

struct JsonValue::Contents {
    std::string string;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;
};

JsonValue::~JsonValue() = default;

namespace {
const std::string kNoString;
const std::vector<JsonValue> kNoItems;
const std::vector<std::pair<std::string, JsonValue>> kNoMembers;
} // namespace

JsonValue::Contents& JsonValue::contents() {
    if (!contents_) contents_ = std::make_unique<Contents>();
    return *contents_;
}

const std::string& JsonValue::string() const {
    return contents_ ? contents_->string : kNoString;
}

const std::vector<JsonValue>& JsonValue::items() const {
    return contents_ ? contents_->items : kNoItems;
}

const std::vector<std::pair<std::string, JsonValue>>& JsonValue::members() const {
    return contents_ ? contents_->members : kNoMembers;
}

const JsonValue* JsonValue::find(std::string_view key) const {
    if (type_ != Type::Object) return nullptr;
    for (const auto& [k, v] : members())
        if (k == key) return &v;
    return nullptr;
}

const char* JsonValue::TypeName(Type t) {
    switch (t) {
    case Type::Null:
        return "null";
    case Type::Bool:
        return "a boolean";
    case Type::Number:
        return "a number";
    case Type::String:
        return "a string";
    case Type::Array:
        return "an array";
    case Type::Object:
        return "an object";
    }
    return "?";
}

namespace {

// Where the parser is in the text: the line and column of the last character it consumed that
// was not white space. A scalar cannot span lines, so when the parser reports a value, the
// value lies on that line (a number's look-ahead is white space or a bracket on the same line);
// for an opening bracket the bracket is that character.
struct Position {
    int line = 1;
    int column = 0;
    int tokenLine = 1;
    int tokenColumn = 0;
};

// A character iterator that keeps a Position up to date as the parser reads through the text.
class TrackingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackingIterator(const char* p, Position* pos) : p_(p), pos_(pos) {}
    reference operator*() const { return *p_; }
    TrackingIterator& operator++() {
        const char c = *p_++;
        if (c == '\n') {
            ++pos_->line;
            pos_->column = 0;
        } else {
            ++pos_->column;
            if (c != ' ' && c != '\t' && c != '\r') {
                pos_->tokenLine = pos_->line;
                pos_->tokenColumn = pos_->column;
            }
        }
        return *this;
    }
    bool operator==(const TrackingIterator& o) const { return p_ == o.p_; }
    bool operator!=(const TrackingIterator& o) const { return p_ != o.p_; }

private:
    const char* p_;
    Position* pos_;
};

} // namespace

// Builds the JsonValue tree from the parser's events; refuses duplicate keys and deep nesting.
class JsonTreeBuilder {
public:
    using number_integer_t = nlohmann::json::number_integer_t;
    using number_unsigned_t = nlohmann::json::number_unsigned_t;
    using number_float_t = nlohmann::json::number_float_t;
    using string_t = nlohmann::json::string_t;
    using binary_t = nlohmann::json::binary_t;

    explicit JsonTreeBuilder(const Position& pos) : pos_(pos) {}

    bool null() { return Add(JsonValue::Type::Null); }
    bool boolean(bool v) {
        JsonValue* x = Add(JsonValue::Type::Bool);
        x->bool_ = v;
        return true;
    }
    bool number_integer(number_integer_t v) { return Number(double(v)); }
    bool number_unsigned(number_unsigned_t v) { return Number(double(v)); }
    bool number_float(number_float_t v, const string_t&) { return Number(v); }
    bool string(string_t& s) {
        JsonValue* x = Add(JsonValue::Type::String);
        x->contents().string = std::move(s);
        return true;
    }
    bool binary(binary_t&) { return Fail("binary values are not JSON"); }
    bool start_object(std::size_t) { return Open(JsonValue::Type::Object); }
    bool end_object() { return Close(); }
    bool start_array(std::size_t) { return Open(JsonValue::Type::Array); }
    bool end_array() { return Close(); }
    bool key(string_t& k) {
        Frame& f = stack_.back();
        if (!f.keys.insert(k).second) return Fail("duplicate key \"" + k + "\"");
        f.key = std::move(k);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception& ex) {
        // "[json.exception.parse_error.101] parse error at line 2, column 18: <what>"
        std::string what = ex.what();
        const size_t column = what.find(", column ");
        const size_t colon = what.find(": ", column == std::string::npos ? 0 : column);
        if (colon != std::string::npos) what = what.substr(colon + 2);
        return Fail(what);
    }

    std::optional<JsonValue> Result(JsonError* error) {
        if (!failed_ && root_) return std::move(*root_);
        if (error) *error = error_;
        return std::nullopt;
    }
    void SetError(JsonError e) {
        if (!failed_) error_ = std::move(e);
        failed_ = true;
    }

private:
    struct Frame {
        JsonValue* value;
        std::string key;            // objects: the key of the next member
        std::set<std::string> keys; // objects: the keys seen so far
    };

    // An error at the last character read that was not white space.
    bool Fail(std::string message) {
        if (!failed_) error_ = {pos_.tokenLine, pos_.tokenColumn, std::move(message)};
        failed_ = true;
        return false;
    }

    // A new value in the open container (or the root), on the line of the last token.
    JsonValue* Add(JsonValue::Type t) {
        JsonValue v;
        v.type_ = t;
        v.line_ = pos_.tokenLine;
        JsonValue* at;
        if (stack_.empty()) {
            root_.emplace(std::move(v));
            at = &*root_;
        } else if (JsonValue* parent = stack_.back().value; parent->isArray()) {
            auto& items = parent->contents().items;
            items.push_back(std::move(v));
            at = &items.back();
        } else {
            auto& members = parent->contents().members;
            members.emplace_back(std::move(stack_.back().key), std::move(v));
            at = &members.back().second;
        }
        return at;
    }
    bool Number(double d) {
        Add(JsonValue::Type::Number)->number_ = d;
        return true;
    }
    bool Open(JsonValue::Type t) {
        if (stack_.size() >= size_t(JsonMaxDepth)) return Fail("nesting too deep");
        // The parent's vector does not grow while the child is open (its members are added
        // only to the child), so the pointer stays valid.
        stack_.push_back({Add(t), {}, {}});
        return true;
    }
    bool Close() {
        stack_.pop_back();
        return true;
    }

    const Position& pos_;
    std::optional<JsonValue> root_;
    std::vector<Frame> stack_;
    bool failed_ = false;
    JsonError error_;
};

std::optional<JsonValue> ParseJson(std::string_view text, JsonError* error) {
    Position pos;
    JsonTreeBuilder builder(pos);
    TrackingIterator first(text.data(), &pos), last(text.data() + text.size(), &pos);
    // The library skips a byte order mark itself; comments are refused.
    const bool ok =
        nlohmann::json::sax_parse(first, last, &builder, nlohmann::json::input_format_t::json,
                                  /*strict=*/true, /*ignore_comments=*/false);
    if (!ok) builder.SetError({pos.tokenLine, pos.tokenColumn, "invalid JSON"}); // kept after Fail
    return builder.Result(error);
}

} // namespace zor::import

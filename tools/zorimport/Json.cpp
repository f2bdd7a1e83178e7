#include "tools/zorimport/Json.h"

#include <charconv>
#include <cmath>
#include <unordered_set>

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

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : s_(text) {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = lineStart_ = 3;
    }

    std::optional<JsonValue> Run(JsonError* error) {
        JsonValue v;
        bool ok = Value(v, 0);
        if (ok) {
            SkipSpace();
            ok = AtEnd() || Fail("unexpected text after the value");
        }
        if (!ok) {
            if (error) *error = error_;
            return std::nullopt;
        }
        return v;
    }

private:
    bool AtEnd() const { return pos_ >= s_.size(); }
    char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }
    int Column() const { return int(pos_ - lineStart_) + 1; }

    bool Fail(std::string message) {
        if (error_.message.empty()) error_ = {line_, Column(), std::move(message)};
        return false;
    }

    void SkipSpace() {
        while (!AtEnd()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                lineStart_ = ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else {
                break;
            }
        }
    }

    bool Literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return Fail("invalid literal");
        pos_ += word.size();
        return true;
    }

    bool Value(JsonValue& v, int depth) {
        SkipSpace();
        v.line_ = line_;
        v.column_ = Column();
        if (AtEnd()) return Fail("unexpected end of text");
        switch (Peek()) {
        case '{':
            return Object(v, depth);
        case '[':
            return Array(v, depth);
        case '"':
            v.type_ = JsonValue::Type::String;
            return String(v.contents().string);
        case 't':
            v.type_ = JsonValue::Type::Bool;
            v.bool_ = true;
            return Literal("true");
        case 'f':
            v.type_ = JsonValue::Type::Bool;
            return Literal("false");
        case 'n':
            return Literal("null");
        default:
            if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) return Number(v);
            return Fail(std::string("unexpected character '") + Peek() + "'");
        }
    }

    bool Object(JsonValue& v, int depth) {
        if (depth >= JsonMaxDepth) return Fail("nesting too deep");
        v.type_ = JsonValue::Type::Object;
        std::unordered_set<std::string> keys;
        ++pos_;
        SkipSpace();
        if (Peek() == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (Peek() != '"') return Fail("expected a string key");
            int keyLine = line_, keyColumn = Column();
            std::string key;
            if (!String(key)) return false;
            // Small objects are searched; large ones keep a set of their keys.
            bool duplicate = false;
            if (v.members().size() < 16) {
                for (const auto& m : v.members()) duplicate = duplicate || m.first == key;
                if (v.members().size() == 15)
                    for (const auto& m : v.members()) keys.insert(m.first);
            } else {
                duplicate = keys.contains(key);
            }
            if (duplicate) {
                error_ = {keyLine, keyColumn, "duplicate key \"" + key + "\""};
                return false;
            }
            if (v.members().size() >= 15) keys.insert(key);
            SkipSpace();
            if (Peek() != ':') return Fail("expected ':'");
            ++pos_;
            auto& members = v.contents().members;
            members.emplace_back(std::move(key), JsonValue());
            if (!Value(members.back().second, depth + 1)) return false;
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            if (Peek() == '}') {
                ++pos_;
                return true;
            }
            return Fail("expected ',' or '}'");
        }
    }

    bool Array(JsonValue& v, int depth) {
        if (depth >= JsonMaxDepth) return Fail("nesting too deep");
        v.type_ = JsonValue::Type::Array;
        ++pos_;
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            auto& items = v.contents().items;
            items.emplace_back();
            if (!Value(items.back(), depth + 1)) return false;
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            if (Peek() == ']') {
                ++pos_;
                return true;
            }
            return Fail("expected ',' or ']'");
        }
    }

    bool Number(JsonValue& v) {
        size_t start = pos_;
        auto digits = [&] {
            size_t k = pos_;
            while (!AtEnd() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
            return pos_ - k;
        };
        if (Peek() == '-') ++pos_;
        if (Peek() == '0') {
            ++pos_;
            if (Peek() >= '0' && Peek() <= '9') return Fail("leading zero in a number");
        } else if (digits() == 0) {
            return Fail("invalid number");
        }
        if (Peek() == '.') {
            ++pos_;
            if (digits() == 0) return Fail("invalid number");
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-') ++pos_;
            if (digits() == 0) return Fail("invalid number");
        }
        double d = 0;
        auto r = std::from_chars(s_.data() + start, s_.data() + pos_, d);
        if (r.ec != std::errc() || !std::isfinite(d)) {
            pos_ = start;
            return Fail("number out of range");
        }
        v.type_ = JsonValue::Type::Number;
        v.number_ = d;
        return true;
    }

    static void AppendUtf8(std::string& out, uint32_t cp) {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }

    bool Hex4(uint32_t& cp) {
        if (pos_ + 4 > s_.size()) return Fail("incomplete \\u escape");
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[pos_++];
            cp <<= 4;
            if (c >= '0' && c <= '9')
                cp |= uint32_t(c - '0');
            else if (c >= 'a' && c <= 'f')
                cp |= uint32_t(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                cp |= uint32_t(c - 'A' + 10);
            else
                return Fail("invalid \\u escape");
        }
        return true;
    }

    // Length of a valid UTF-8 sequence starting at pos_, or 0.
    size_t Utf8Length() const {
        auto b = [&](size_t i) { return uint8_t(pos_ + i < s_.size() ? s_[pos_ + i] : 0); };
        auto cont = [&](size_t i) { return (b(i) & 0xC0) == 0x80; };
        uint8_t c = b(0);
        if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
        if (c >= 0xE0 && c <= 0xEF) {
            if (!cont(1) || !cont(2)) return 0;
            if (c == 0xE0 && b(1) < 0xA0) return 0;  // overlong
            if (c == 0xED && b(1) >= 0xA0) return 0; // surrogate
            return 3;
        }
        if (c >= 0xF0 && c <= 0xF4) {
            if (!cont(1) || !cont(2) || !cont(3)) return 0;
            if (c == 0xF0 && b(1) < 0x90) return 0;
            if (c == 0xF4 && b(1) >= 0x90) return 0;
            return 4;
        }
        return 0;
    }

    bool String(std::string& out) {
        ++pos_; // opening quote
        for (;;) {
            if (AtEnd()) return Fail("unterminated string");
            unsigned char c = uint8_t(s_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20) return Fail("control character in a string");
            if (c == '\\') {
                ++pos_;
                if (AtEnd()) return Fail("unterminated string");
                char e = s_[pos_++];
                switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    uint32_t cp;
                    if (!Hex4(cp)) return false;
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        uint32_t lo;
                        if (s_.substr(pos_, 2) != "\\u") return Fail("unpaired surrogate");
                        pos_ += 2;
                        if (!Hex4(lo)) return false;
                        if (lo < 0xDC00 || lo > 0xDFFF) return Fail("unpaired surrogate");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                        return Fail("unpaired surrogate");
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    pos_--;
                    return Fail("invalid escape");
                }
                continue;
            }
            if (c < 0x80) {
                out += char(c);
                ++pos_;
                continue;
            }
            size_t n = Utf8Length();
            if (n == 0) return Fail("invalid UTF-8 in a string");
            out.append(s_.substr(pos_, n));
            pos_ += n;
        }
    }

    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
    size_t lineStart_ = 0;
    JsonError error_;
};

std::optional<JsonValue> ParseJson(std::string_view text, JsonError* error) {
    return JsonParser(text).Run(error);
}

} // namespace zor::import

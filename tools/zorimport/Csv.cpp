#include "tools/zorimport/Csv.h"

namespace zor::import {

CsvReader::CsvReader(std::string_view text) : s_(text) {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool CsvReader::Next(std::vector<std::string>& fields) {
    fields.clear();
    if (!error_.empty()) return false;
    // Skip empty lines.
    while (pos_ < s_.size() && (s_[pos_] == '\n' || s_[pos_] == '\r')) {
        if (s_[pos_] == '\r' && (pos_ + 1 >= s_.size() || s_[pos_ + 1] != '\n')) break;
        if (s_[pos_] == '\n') ++line_;
        ++pos_;
    }
    if (pos_ >= s_.size()) return false;
    recordLine_ = line_;
    std::string field;
    for (;;) {
        // One field.
        field.clear();
        if (pos_ < s_.size() && s_[pos_] == '"') {
            ++pos_;
            for (;;) {
                if (pos_ >= s_.size()) {
                    error_ = "unterminated quoted field";
                    return false;
                }
                char c = s_[pos_++];
                if (c == '"') {
                    if (pos_ < s_.size() && s_[pos_] == '"') {
                        field += '"';
                        ++pos_;
                        continue;
                    }
                    break;
                }
                if (c == '\n') ++line_;
                field += c;
            }
            if (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '\n' &&
                !(s_[pos_] == '\r' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\n')) {
                error_ = "text after a closing quote";
                return false;
            }
        } else {
            while (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '\n') {
                if (s_[pos_] == '\r' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\n') break;
                if (s_[pos_] == '"') {
                    error_ = "quote inside an unquoted field";
                    return false;
                }
                field += s_[pos_++];
            }
        }
        fields.push_back(field);
        if (pos_ >= s_.size()) return true;
        if (s_[pos_] == ',') {
            ++pos_;
            continue;
        }
        // End of the line.
        if (s_[pos_] == '\r') ++pos_;
        ++pos_;
        ++line_;
        return true;
    }
}

} // namespace zor::import

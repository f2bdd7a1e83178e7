// A reader of comma-separated values (RFC 4180): fields may be quoted with '"', a quote inside
// a quoted field is doubled, quoted fields may hold commas and line breaks. Lines end with
// "\n" or "\r\n"; a UTF-8 byte order mark at the start is skipped; empty lines are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zor::import {

class CsvReader {
public:
    explicit CsvReader(std::string_view text);

    // Reads the next record into `fields`. Returns false at the end of the text or on a
    // malformed record (then error() is not empty). line() is the line the record began on.
    bool Next(std::vector<std::string>& fields);
    int line() const { return recordLine_; }
    const std::string& error() const { return error_; }

private:
    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
    std::string error_;
};

} // namespace zor::import

// Errors and warnings of one import, each with the source file and line it is about.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zor::import {

struct Diagnostic {
    bool error = true;
    std::string file; // relative to the source folder; empty for the import as a whole
    int line = 0;     // 1-based; 0 when the message is about the whole file
    std::string text;
};

class Diagnostics {
public:
    void Error(std::string file, int line, std::string text) {
        ++errors_;
        Add({true, std::move(file), line, std::move(text)});
    }
    void Warning(std::string file, int line, std::string text) {
        ++warnings_;
        Add({false, std::move(file), line, std::move(text)});
    }
    bool failed() const { return errors_ > 0; }
    int errorCount() const { return errors_; }
    int warningCount() const { return warnings_; }
    const std::vector<Diagnostic>& list() const { return list_; }

    // "file:line: error: text", one per line; past `limit` entries of a kind only a count.
    void Print(std::FILE* out, size_t limit = 100) const {
        size_t shownErrors = 0, shownWarnings = 0;
        for (const auto& d : list_) {
            size_t& shown = d.error ? shownErrors : shownWarnings;
            if (shown++ >= limit) continue;
            std::string where = d.file;
            if (d.line > 0) where += ":" + std::to_string(d.line);
            if (!where.empty()) where += ": ";
            std::fprintf(out, "%s%s: %s\n", where.c_str(), d.error ? "error" : "warning",
                         d.text.c_str());
        }
        if (size_t(errors_) > limit)
            std::fprintf(out, "... and %zu more errors\n", size_t(errors_) - limit);
        if (size_t(warnings_) > limit)
            std::fprintf(out, "... and %zu more warnings\n", size_t(warnings_) - limit);
    }

private:
    void Add(Diagnostic d) {
        // Keep memory bounded on inputs with millions of bad lines; the counts stay exact.
        if (list_.size() < 10000) list_.push_back(std::move(d));
    }
    std::vector<Diagnostic> list_;
    int errors_ = 0;
    int warnings_ = 0;
};

} // namespace zor::import

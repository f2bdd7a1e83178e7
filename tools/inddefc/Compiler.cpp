#include "tools/inddefc/Compiler.h"

#include "tools/inddefc/Reflow.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zor::inddefc {

namespace {

// Opens a regular file for binary reading; nullptr for a missing file or a directory.
std::FILE* OpenForReading(const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return nullptr;
    struct stat st;
    if (::fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

// Reads a text file in pieces of at most ReadBufferChars characters. A carriage return before
// a newline is dropped, so sources written with either line end read the same.
class PieceReader {
public:
    explicit PieceReader(std::FILE* f) : f_(f) {}

    // The next piece of the current line, without its newline. `first` tells that the piece
    // starts a line, `last` that it ends one (at a newline or at the end of the file). False
    // when the file is used up.
    bool Next(std::string& piece, bool& first, bool& last) {
        piece.clear();
        first = lineStart_;
        while (piece.size() < ReadBufferChars) {
            int c = Get();
            if (c == EOF) {
                if (first && piece.empty()) return false;
                last = lineStart_ = true;
                return true;
            }
            if (c == '\n') {
                last = lineStart_ = true;
                return true;
            }
            if (c == '\r' && Peek() == '\n') continue;
            piece += char(c);
        }
        last = lineStart_ = false;
        return true;
    }

    bool Failed() const { return std::ferror(f_) != 0; }

private:
    int Peek() {
        if (pos_ == len_) {
            if (eof_) return EOF;
            len_ = std::fread(buf_, 1, sizeof buf_, f_);
            pos_ = 0;
            if (len_ == 0) {
                eof_ = true;
                return EOF;
            }
        }
        return static_cast<unsigned char>(buf_[pos_]);
    }
    int Get() {
        int c = Peek();
        if (c != EOF) ++pos_;
        return c;
    }

    std::FILE* f_;
    char buf_[1 << 16];
    size_t pos_ = 0;
    size_t len_ = 0;
    bool eof_ = false;
    bool lineStart_ = true;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The project's file name on one line: without trailing and leading blanks.
std::string TrimName(const std::string& line) {
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t' || line[end - 1] == '\r'))
        --end;
    size_t begin = 0;
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t')) ++begin;
    return line.substr(begin, end - begin);
}

enum class CodeScan { None, Value, OutOfRange };

// The decimal number at the start of `s` (after white space, with an optional sign).
CodeScan ScanCode(std::string_view s, int& code) {
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return CodeScan::None;
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        if (v <= 1000000) v = v * 10 + (s[i] - '0');
    if (negative) v = -v;
    if (v < INT16_MIN || v > INT16_MAX) return CodeScan::OutOfRange;
    code = int(v);
    return CodeScan::Value;
}

struct IndexEntry {
    int16_t code;
    uint64_t offset; // in the records file
};

void PutLE(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char(uint8_t(v >> (8 * i)));
}

bool FlushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(fileno(f)) == 0;
#endif
}

class Compiler {
public:
    explicit Compiler(uint32_t seed) : rng_(seed) {}

    int Run();

private:
    void CompileSource(std::FILE* f, const std::string& name);
    void WriteRecord(int code, const std::string& text);
    bool WriteOutput();
    void Fail(const std::string& what) {
        if (error_.empty()) error_ = what;
    }

    Random rng_;
    std::FILE* records_ = nullptr;
    uint64_t written_ = 0;
    std::vector<IndexEntry> index_;
    size_t definitions_ = 0;
    std::string error_;
};

int Compiler::Run() {
    std::FILE* project = OpenForReading(ProjectFileName);
    if (!project) {
        std::printf("FILE: %s is not found!\n", ProjectFileName);
        return ExitNoProject;
    }
    records_ = std::fopen(RecordsFileName, "wb");
    if (!records_) {
        std::fclose(project);
        std::fprintf(stderr, "inddefc: cannot create %s: %s\n", RecordsFileName,
                     std::strerror(errno));
        return ExitWriteFailed;
    }
    index_.reserve(1000);

    PieceReader lines(project);
    std::string piece, line;
    bool first = false, last = false;
    while (lines.Next(piece, first, last)) {
        if (first) line.clear();
        line += piece;
        if (!last) continue;
        std::string name = TrimName(line);
        if (name.empty()) continue;
        std::printf("%s\n", name.c_str());
        std::FILE* source = OpenForReading(name);
        if (!source) {
            std::printf("FILE: %s is not found!\n", name.c_str());
            continue;
        }
        CompileSource(source, name);
        std::fclose(source);
    }
    if (lines.Failed()) Fail(std::string("read error in ") + ProjectFileName);
    std::fclose(project);

    bool ok = WriteOutput();
    std::fflush(stdout);
    if (!ok) {
        std::fprintf(stderr, "inddefc: %s; %s is left unchanged\n", error_.c_str(), OutputFileName);
        return ExitWriteFailed;
    }
    return ExitOk;
}

void Compiler::CompileSource(std::FILE* f, const std::string& name) {
    enum class Kind { Ignored, Heading, Text };
    PieceReader in(f);
    std::string piece, text;
    LineReflow reflow(text, rng_);
    Kind kind = Kind::Ignored;
    bool started = false;
    bool codeOk = true;
    int code = 0;
    bool first = false, last = false;
    while (in.Next(piece, first, last)) {
        if (first) {
            if (!piece.empty() && piece[0] == '.') {
                if (!text.empty() && codeOk) WriteRecord(code, text);
                text.clear();
                started = true;
                kind = Kind::Heading;
                switch (ScanCode(std::string_view(piece).substr(1), code)) {
                case CodeScan::Value:
                    codeOk = true;
                    break;
                case CodeScan::OutOfRange:
                    codeOk = false;
                    std::fprintf(stderr, "inddefc: %s: code out of range, definition skipped: %s\n",
                                 name.c_str(), piece.c_str());
                    break;
                case CodeScan::None:
                    break; // the previous code stays
                }
            } else {
                kind = started ? Kind::Text : Kind::Ignored;
            }
        }
        if (kind != Kind::Text) continue;
        reflow.Feed(piece);
        if (last) reflow.End();
    }
    if (!text.empty() && codeOk) WriteRecord(code, text);
    if (in.Failed()) Fail("read error in " + name);
}

void Compiler::WriteRecord(int code, const std::string& text) {
    ++definitions_;
    if (!error_.empty()) return;
    if (index_.size() >= MaxDefinitions) return; // reported once all are counted
    if (text.size() > size_t(INT32_MAX)) {
        Fail("a definition is too long");
        return;
    }
    std::string length;
    PutLE(length, uint32_t(text.size()), 4);
    if (std::fwrite(length.data(), 1, 4, records_) != 4 ||
        std::fwrite(text.data(), 1, text.size(), records_) != text.size()) {
        Fail(std::string("cannot write ") + RecordsFileName);
        return;
    }
    index_.push_back({int16_t(code), written_});
    written_ += 4 + text.size();
}

// Writes inddef.bin under a temporary name and renames it into place, so a failure or a crash
// never leaves a partly written file in place of a good one.
bool Compiler::WriteOutput() {
    if (error_.empty() && std::fflush(records_) != 0)
        Fail("cannot write " + std::string(RecordsFileName));
    std::fclose(records_);
    records_ = nullptr;

    if (definitions_ > MaxDefinitions)
        Fail(std::to_string(definitions_) + " definitions, more than the " +
             std::to_string(MaxDefinitions) + " the file can hold");
    uint64_t header = 2 + 6 * uint64_t(index_.size());
    if (error_.empty() && header + written_ > uint64_t(INT32_MAX))
        Fail("the definitions need more than 2 GiB");
    if (!error_.empty()) {
        std::remove(RecordsFileName);
        return false;
    }

    std::string head;
    head.reserve(size_t(header));
    PutLE(head, uint16_t(index_.size()), 2);
    for (const IndexEntry& e : index_) {
        PutLE(head, uint16_t(e.code), 2);
        PutLE(head, uint32_t(e.offset + header), 4);
    }

    std::FILE* out = std::fopen(NewOutputFileName, "wb");
    std::FILE* in = std::fopen(RecordsFileName, "rb");
    bool ok = out && in && std::fwrite(head.data(), 1, head.size(), out) == head.size();
    uint64_t copied = 0;
    char block[10240];
    while (ok) {
        size_t n = std::fread(block, 1, sizeof block, in);
        if (n == 0) break;
        if (std::fwrite(block, 1, n, out) != n) ok = false;
        copied += n;
    }
    if (ok && (std::ferror(in) || copied != written_)) ok = false;
    if (ok && !FlushToDisk(out)) ok = false;
    if (out && std::fclose(out) != 0) ok = false;
    if (in) std::fclose(in);
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(NewOutputFileName, OutputFileName, ec);
        if (ec) ok = false;
    }
    if (!ok) {
        Fail(std::string("cannot write ") + OutputFileName);
        if (out) std::remove(NewOutputFileName);
    }
    std::remove(RecordsFileName);
    return ok;
}

} // namespace

int Compile(uint32_t seed) {
    return Compiler(seed).Run();
}

} // namespace zor::inddefc

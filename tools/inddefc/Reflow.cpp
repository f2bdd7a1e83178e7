#include "tools/inddefc/Reflow.h"

#include <vector>

namespace zor::inddefc {

namespace {

size_t LeadingBlanks(std::string_view s) {
    size_t n = 0;
    while (n < s.size() && s[n] == ' ') ++n;
    return n;
}

} // namespace

void AppendJustified(std::string& out, std::string_view piece, Random& rng) {
    size_t indent = LeadingBlanks(piece);
    std::vector<std::string_view> words;
    size_t letters = 0;
    for (size_t i = indent; i < piece.size();) {
        if (piece[i] == ' ') {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < piece.size() && piece[j] != ' ') ++j;
        words.push_back(piece.substr(i, j - i));
        letters += j - i;
        i = j;
    }
    if (words.size() < 2 || indent + letters + words.size() - 1 > LineWidth) {
        out.append(piece);
        return;
    }
    size_t gaps = words.size() - 1;
    size_t blanks = LineWidth - indent - letters;
    std::vector<size_t> width(gaps, blanks / gaps);
    std::uniform_int_distribution<size_t> pick(0, gaps - 1);
    for (size_t r = blanks % gaps; r > 0; --r) ++width[pick(rng)];

    out.append(indent, ' ');
    for (size_t k = 0; k < words.size(); ++k) {
        out.append(words[k]);
        if (k < gaps) out.append(width[k], ' ');
    }
}

void LineReflow::Feed(std::string_view chars) {
    for (char c : chars) Put(c);
}

void LineReflow::End() {
    if (holding_) {
        // Only blanks followed the last cut: the held piece is the last one.
        out_.append(held_);
        holding_ = false;
    } else {
        out_.append(pending_);
    }
    out_ += '\n';
    pending_.clear();
    held_.clear();
}

void LineReflow::Put(char c) {
    if (holding_) {
        if (c == ' ') return;
        AppendJustified(out_, held_, rng_);
        out_ += '\n';
        holding_ = false;
        held_.clear();
    }
    pending_ += c;
    if (pending_.size() > LineWidth) Cut();
}

// pending_ holds LineWidth + 1 characters: the window and the character after it.
void LineReflow::Cut() {
    std::string_view window(pending_.data(), LineWidth);
    size_t indent = LeadingBlanks(window);
    size_t cut = std::string_view::npos;
    if (pending_[LineWidth] == ' ') {
        cut = LineWidth;
    } else {
        // A blank inside the leading indentation does not separate words, unless the window
        // is blank throughout.
        size_t b = window.find_last_of(' ');
        if (b != std::string_view::npos && (b >= indent || indent == LineWidth)) cut = b;
    }

    std::string rest;
    if (cut == std::string_view::npos) {
        // One word fills the window: it is cut at the width.
        held_.assign(window);
        rest = pending_.substr(LineWidth);
    } else {
        size_t end = cut;
        while (end > 0 && pending_[end - 1] == ' ') --end;
        held_.assign(pending_, 0, end);
        rest = pending_.substr(cut);
    }
    holding_ = true;
    pending_.clear();
    for (char c : rest) Put(c);
}

} // namespace zor::inddefc

// Re-flow of definition text lines to a width of 100 characters with full justification.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace zor::inddefc {

inline constexpr size_t LineWidth = 100;

using Random = std::mt19937;

// Pads a piece of at most LineWidth characters (no newline, no trailing blanks) to exactly
// LineWidth characters by widening the gaps between its words. Leading blanks stay as they are;
// each gap gets the same number of blanks and the remainder goes one blank at a time to gaps
// chosen at random, so a gap can receive several. A piece of one word is appended unchanged.
void AppendJustified(std::string& out, std::string_view piece, Random& rng);

// Re-flows one source line into `out`. The line may arrive in several pieces (Feed), followed by
// End at its newline or at the end of the file; the result is the same as for the whole line at
// once, and memory stays bounded by the line width whatever the line's length.
//
// A line of at most LineWidth characters is appended as it is. A longer line is cut before the
// last blank within the first LineWidth characters (or right after them when a blank follows),
// without trailing blanks; a window without a blank between words is cut at LineWidth
// characters. Every piece that has more text after it is justified; the last piece stays as it
// is. Blanks after a cut are skipped. Every output line ends with a newline.
class LineReflow {
public:
    LineReflow(std::string& out, Random& rng) : out_(out), rng_(rng) {}

    void Feed(std::string_view chars);
    void End();

private:
    void Put(char c);
    void Cut();

    std::string& out_;
    Random& rng_;
    std::string pending_; // text of the piece being collected, at most LineWidth + 1 characters
    std::string held_;    // a finished piece waiting to learn whether it is the last one
    bool holding_ = false;
};

} // namespace zor::inddefc

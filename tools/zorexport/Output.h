// Where the subcommands that write a result put it, and the GUI application that those which
// measure text or paint need.
#pragma once

#include <memory>
#include <string>

class QGuiApplication;

namespace zor::exporter {

// Writes `text` to the file `out` (replaced atomically) or, when `out` is empty, to standard
// output. False when it could not be written.
bool WriteOutput(const std::string& out, const std::string& text);

// Prints "zorexport: cannot write <out or standard output>" to standard error and returns
// ExitWriteFailed.
int WriteFailed(const std::string& out);

// A GUI application for fonts and painting; offscreen unless a platform is chosen.
std::unique_ptr<QGuiApplication> MakeGuiApplication();

} // namespace zor::exporter

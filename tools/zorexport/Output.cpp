#include "tools/zorexport/Output.h"

#include "core/FileUtil.h"
#include "tools/zorexport/Command.h"

#include <QGuiApplication>

#include <cstdio>

namespace zor::exporter {

bool WriteOutput(const std::string& out, const std::string& text) {
    if (!out.empty()) return WriteFileAtomic(out, text);
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

int WriteFailed(const std::string& out) {
    std::fprintf(stderr, "zorexport: cannot write %s\n",
                 out.empty() ? "standard output" : out.c_str());
    return ExitWriteFailed;
}

std::unique_ptr<QGuiApplication> MakeGuiApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zorexport";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace zor::exporter

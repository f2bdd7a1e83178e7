#include "tools/zorexport/QtMessages.h"

#include <cstring>

namespace zor::exporter {

namespace {

QtMessageHandler g_qtHandler = nullptr; // the handler the filter passes shown messages to

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (ShowsQtMessage(type, context.category) && g_qtHandler) g_qtHandler(type, context, message);
}

} // namespace

bool ShowsQtMessage(QtMsgType type, const char* category) {
    if (category && std::strncmp(category, OwnCategoryPrefix, sizeof OwnCategoryPrefix - 1) == 0)
        return true;
    return type == QtCriticalMsg || type == QtFatalMsg;
}

void InstallQtMessageFilter() {
    if (g_qtHandler) return;
    g_qtHandler = qInstallMessageHandler(Filter);
}

} // namespace zor::exporter

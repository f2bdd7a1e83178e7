#include "charts/qt/UiServices.h"

#include "core/Charset.h"

namespace zor::charts::qt {

QString UiServices::Text(int id, std::string_view fallback) const {
    const std::string bytes = titles ? LoadTextOr(*titles, id, fallback) : std::string(fallback);
    return QString::fromStdString(DecodeToUtf8(bytes, charset));
}

} // namespace zor::charts::qt

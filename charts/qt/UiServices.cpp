#include "charts/qt/UiServices.h"

namespace zor::charts::qt {

QString UiServices::Text(int id, std::string_view fallback) const {
    static const TitlesTable none;
    return QString::fromStdString(UiText(titles ? *titles : none, charset, id, fallback));
}

} // namespace zor::charts::qt

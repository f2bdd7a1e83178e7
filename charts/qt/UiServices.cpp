#include "charts/qt/UiServices.h"

#include <QDialog>

namespace zor::charts::qt {

QString UiServices::Text(int id, std::string_view fallback) const {
    static const TitlesTable none;
    return QString::fromStdString(UiText(titles ? *titles : none, charset, id, fallback));
}

void UiServices::PrepareDialog(QDialog* dialog, int resourceId, std::string_view title) const {
    dialog->setWindowTitle(Text(resourceId, title));
    if (prepareDialog) prepareDialog(dialog, resourceId);
}

} // namespace zor::charts::qt

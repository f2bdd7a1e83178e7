#include "indicators/qt/CSelectIndicator.h"

#include "core/Charset.h"
#include "core/DataStore.h"
#include "indicators/TempEditor.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zor::indicators::qt {

namespace {

// Item data: the group's position for group items, the code for indicators and variants.
constexpr int GroupRole = Qt::UserRole;
constexpr int CodeRole = Qt::UserRole + 1;

} // namespace

CSelectIndicator::CSelectIndicator(DataStore& store, const charts::qt::UiServices& ui,
                                   QWidget* parent)
    : QDialog(parent), store_(store) {
    setWindowTitle(ui.Text(ResourceId, "Select indicator"));
    auto* layout = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setObjectName(QStringLiteral("IndicatorTree"));
    if (ui.setControlId) ui.setControlId(tree_, TreeId);
    layout->addWidget(tree_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(ui.Text(CtlOk, "OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(ui.Text(CtlCancel, "Cancel"), QDialogButtonBox::RejectRole);
    if (ui.setControlId) {
        ui.setControlId(ok_, CtlOk);
        ui.setControlId(cancel, CtlCancel);
    }
    layout->addWidget(buttons);

    const auto& groups = store_.Groups();
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].id < 0 || groups[g].id > 9) continue;
        auto* item = new QTreeWidgetItem(
            tree_, {QString::fromStdString(DecodeToUtf8(groups[g].name, store_.Charset()))});
        item->setData(0, GroupRole, static_cast<int>(g));
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        if (!groups[g].indicators.empty()) Fill(item);
    }
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (item->data(0, GroupRole).isValid() && item->childCount() == 0) Fill(item);
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { Choose(item); });
    connect(ok_, &QPushButton::clicked, this, [this] { Choose(tree_->currentItem()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 480);
    if (ui.prepareDialog) ui.prepareDialog(this, ResourceId);
}

QTreeWidgetItem* CSelectIndicator::GroupItem(int groupIndex) const {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (tree_->topLevelItem(i)->data(0, GroupRole).toInt() == groupIndex)
            return tree_->topLevelItem(i);
    return nullptr;
}

void CSelectIndicator::Fill(QTreeWidgetItem* group) {
    const int g = group->data(0, GroupRole).toInt();
    store_.LoadGroupIndicators(g); // nothing when read already
    const int charset = store_.Charset();
    auto label = [charset](int code, const std::string& name) {
        return QString::fromStdString(CodeText(code) + " " + DecodeToUtf8(name, charset));
    };
    for (const Indicator& i : store_.Groups()[static_cast<size_t>(g)].indicators) {
        auto* item = new QTreeWidgetItem(group, {label(i.code, i.name)});
        item->setData(0, CodeRole, static_cast<int>(i.code));
        for (const Variant& v : i.variants) {
            auto* sub = new QTreeWidgetItem(item, {label(v.code, v.name)});
            sub->setData(0, CodeRole, static_cast<int>(v.code));
        }
    }
    if (group->childCount() == 0)
        group->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void CSelectIndicator::Choose(QTreeWidgetItem* item) {
    if (!item || !item->data(0, CodeRole).isValid()) return; // a group, or nothing
    chosen_ = item->text(0);
    accept();
}

std::optional<QString> CSelectIndicator::Ask(DataStore& store, const charts::qt::UiServices& ui,
                                             QWidget* parent) {
    CSelectIndicator dialog(store, ui, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

} // namespace zor::indicators::qt

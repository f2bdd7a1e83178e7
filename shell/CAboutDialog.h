// The About box (dialog 100): the program's icon, its title and version, and the description
// text in a list box.
#pragma once

#include <QDialog>

#include <string>
#include <string_view>
#include <vector>

namespace zor {

class Application;

// The description text of the About box (resource 149), lines separated by CR LF.
std::string_view AboutDescription();

// Splits a text at carriage returns (a line feed right after one is skipped) and gives each
// line one leading blank, as the About box lists them.
std::vector<std::string> DescriptionLines(std::string_view text);

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = 100;
    CAboutDialog(Application& app, QWidget* parent = nullptr);
};

} // namespace zor

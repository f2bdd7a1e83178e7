#include "shell/Commands.h"

namespace zor {

using charts::MenuCommand;
using charts::MenuItem;
using charts::MenuPopup;
using charts::MenuSeparator;

const std::vector<CommandInfo>& MainFrameCommands() {
    constexpr CommandKind F = CommandKind::Frame, O = CommandKind::Opens;
    static const std::vector<CommandInfo> table = {
        {CmdSelectParameters, F},
        {CmdTemporaryIndicators, O},
        {CmdPrinterSetup, F},
        {CmdPrintIndicatorList, O},
        {CmdMap, O},
        {CmdBarChart, O},
        {CmdRankedBarChart, O},
        {CmdHorizontalRankedBarChart, O},
        {CmdLineChartA, O},
        {CmdLineChartB, O},
        {CmdLineChartC, O},
        {CmdScattergram, O},
        {CmdBoxplotByValue, O},
        {CmdBoxplotByRank, O},
        {CmdHistogram, O},
        {CmdRegionProfile, O},
        {CmdAvailability, O},
        {CmdTableA, O},
        {CmdTableB, O},
        {CmdTableC, O},
        {CmdTableD, O},
        {CmdTableE, O},
        {CmdHelpContents, F},
        {CmdDefinitions, O},
        {CmdAbout, F},
        {CmdQuit, F},
    };
    return table;
}

const CommandInfo* FindMainFrameCommand(int id) {
    for (const auto& c : MainFrameCommands())
        if (c.id == id) return &c;
    return nullptr;
}

const std::vector<MenuItem>& MainFrameMenu() {
    static const std::vector<MenuItem> menu = {
        MenuPopup("&Parameters",
                  {MenuCommand(CmdSelectParameters), MenuCommand(CmdTemporaryIndicators),
                   MenuSeparator(), MenuCommand(CmdPrinterSetup),
                   MenuCommand(CmdPrintIndicatorList), MenuSeparator(), MenuCommand(CmdQuit)}),
        MenuPopup(
            "&Graphs",
            {MenuCommand(CmdMap), MenuSeparator(), MenuCommand(CmdBarChart),
             MenuPopup("&Ranked Bar Charts",
                       {MenuCommand(CmdRankedBarChart), MenuCommand(CmdHorizontalRankedBarChart)}),
             MenuPopup("&Line Charts", {MenuCommand(CmdLineChartA), MenuCommand(CmdLineChartB),
                                        MenuCommand(CmdLineChartC)}),
             MenuCommand(CmdScattergram),
             MenuPopup("B&oxplots",
                       {MenuCommand(CmdBoxplotByValue), MenuCommand(CmdBoxplotByRank)}),
             MenuCommand(CmdHistogram), MenuSeparator(), MenuCommand(CmdRegionProfile),
             MenuCommand(CmdAvailability)}),
        MenuPopup("&Tables",
                  {MenuCommand(CmdTableA), MenuCommand(CmdTableB), MenuCommand(CmdTableC),
                   MenuCommand(CmdTableD), MenuCommand(CmdTableE)}),
        MenuPopup("&Help", {MenuCommand(CmdHelpContents), MenuCommand(CmdDefinitions),
                            MenuSeparator(), MenuCommand(CmdAbout)}),
    };
    return menu;
}

const std::vector<int>& MainFrameToolbar() {
    static const std::vector<int> bar = {CmdSelectParameters,
                                         0,
                                         CmdMap,
                                         0,
                                         CmdRankedBarChart,
                                         CmdHorizontalRankedBarChart,
                                         CmdLineChartA,
                                         CmdScattergram,
                                         CmdBoxplotByValue,
                                         CmdBoxplotByRank,
                                         CmdHistogram,
                                         CmdRegionProfile,
                                         0,
                                         CmdTableA,
                                         CmdTableB,
                                         CmdTableC,
                                         CmdTableD,
                                         CmdTableE};
    return bar;
}

WindowRegistry& WindowRegistry::Instance() {
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::Register(int commandId, WindowCommand command) {
    windows_[commandId] = std::move(command);
    Q_EMIT changed(commandId);
}

void WindowRegistry::Unregister(int commandId) {
    if (windows_.erase(commandId)) Q_EMIT changed(commandId);
}

const WindowCommand* WindowRegistry::Find(int commandId) const {
    auto it = windows_.find(commandId);
    return it != windows_.end() && it->second.open ? &it->second : nullptr;
}

} // namespace zor

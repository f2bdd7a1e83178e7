#include "shell/Commands.h"

#include "core/MenuCaptions.h"
#include "core/Selection.h"

#include <algorithm>

namespace zor {

namespace {

constexpr unsigned I = NeedIndicators, R = NeedRegions, P = NeedPeriods;

MenuItem Cmd(int id) {
    return {MenuItem::Command, id, "", {}};
}
MenuItem Sep() {
    return {MenuItem::Separator, 0, "", {}};
}
MenuItem Pop(const char* caption, std::vector<MenuItem> items) {
    return {MenuItem::Popup, 0, caption, std::move(items)};
}

} // namespace

const std::vector<CommandInfo>& MainFrameCommands() {
    static const std::vector<CommandInfo> table = {
        {1010, NeedNothing, 20001, nullptr},
        {1020, NeedNothing, 25020, "CTempIndSetup"},
        {1030, NeedNothing, 0, nullptr},
        {1040, NeedNothing, 25021, "CPrintIndsFrame"},
        {2000, I | P, 25002, "CMapView"},
        {3010, I | P | R, 25003, "CBarChart"},
        {3021, I | P, 25004, "CRBarChart"},
        {3022, I | P, 25005, "CHRBarChart"},
        {3031, I | R, 25006, "CLineChart"},
        {3032, I | R, 25007, "CCompChart"},
        {3033, P | I | R, 25018, "CLineCharC"},
        {3050, I | P, 25008, "CScChart"},
        {3061, I | R | P, 25009, "CBoxplotR"},
        {3062, I | R | P, 25010, "CBoxplotV"},
        {3070, I | P, 25011, "CHist"},
        {3082, R | P, 25012, "CProfile"},
        {3090, NeedNothing, 25013, "CAvail"},
        {4010, I | P, 25014, "CTableA"},
        {4020, I | R, 25015, "CTableB"},
        {4030, I | R, 25016, "CTableC"},
        {4040, I, 25017, "CTableD"},
        {4050, I | P, 25023, "CTableE"},
        {5010, NeedNothing, 0, nullptr},
        {5020, NeedDefinitionsFile | I, 25019, "CDefinWnd"},
        {5030, NeedNothing, 0, nullptr},
        {6000, NeedNothing, 0, nullptr},
    };
    return table;
}

const CommandInfo* FindMainFrameCommand(int id) {
    for (const auto& c : MainFrameCommands())
        if (c.id == id) return &c;
    return nullptr;
}

bool SelectionMeets(unsigned needs, const Selection& s) {
    if ((needs & NeedIndicators) && s.Indicators().empty()) return false;
    if ((needs & NeedRegions) && s.Regions().empty()) return false;
    if ((needs & NeedPeriods) && s.Periods().empty()) return false;
    return true;
}

const std::vector<MenuItem>& MainFrameMenu() {
    static const std::vector<MenuItem> menu = {
        Pop("&Parameters", {Cmd(1010), Cmd(1020), Sep(), Cmd(1030), Cmd(1040), Sep(), Cmd(6000)}),
        Pop("&Graphs",
            {Cmd(2000), Sep(), Cmd(3010), Pop("&Ranked Bar Charts", {Cmd(3021), Cmd(3022)}),
             Pop("&Line Charts", {Cmd(3031), Cmd(3032), Cmd(3033)}), Cmd(3050),
             Pop("B&oxplots", {Cmd(3061), Cmd(3062)}), Cmd(3070), Sep(), Cmd(3082), Cmd(3090)}),
        Pop("&Tables", {Cmd(4010), Cmd(4020), Cmd(4030), Cmd(4040), Cmd(4050)}),
        Pop("&Help", {Cmd(5010), Cmd(5020), Sep(), Cmd(5030)}),
    };
    return menu;
}

const std::vector<int>& MainFrameToolbar() {
    static const std::vector<int> bar = {1010, 0,    2000, 0, 3021, 3022, 3031, 3050, 3061,
                                         3062, 3070, 3082, 0, 4010, 4020, 4030, 4040, 4050};
    return bar;
}

const char* CommandCaption(int id) {
    const auto& t = MenuCommandCaptions();
    auto it = std::lower_bound(t.begin(), t.end(), id,
                               [](const StringEntry& e, int v) { return e.id < v; });
    return it != t.end() && it->id == id ? it->text : "";
}

ViewRegistry& ViewRegistry::Instance() {
    static ViewRegistry registry;
    return registry;
}

void ViewRegistry::Register(int commandId, ViewFactory factory) {
    factories_[commandId] = std::move(factory);
    Q_EMIT changed(commandId);
}

void ViewRegistry::Unregister(int commandId) {
    if (factories_.erase(commandId)) Q_EMIT changed(commandId);
}

const ViewFactory* ViewRegistry::Find(int commandId) const {
    auto it = factories_.find(commandId);
    return it != factories_.end() && it->second ? &it->second : nullptr;
}

} // namespace zor

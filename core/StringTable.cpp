// The program's string table: every user-interface text that has an id, and the captions of the
// menu commands. Texts are kept byte for byte as the program shows them.
#include "core/MenuCaptions.h"
#include "core/Texts.h"

#include <algorithm>

namespace zor {

namespace {

std::vector<StringEntry> SortedById(std::vector<StringEntry> t) {
    std::stable_sort(t.begin(), t.end(),
                     [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; });
    return t;
}

} // namespace

const std::vector<StringEntry>& BuiltinStrings() {
    static const std::vector<StringEntry> table = SortedById({
        // HTML export templates (146-148 for the indicator list)
        {135, "<HTML>\n<HEAD>\n<META NAME=\"GENERATOR\" CONTENT=\"ZOR-2\">\n"
              "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=windows-%d\">\n"
              "<TITLE>%s</TITLE>\n</HEAD>"},
        {136, "<STYLE>\nTR\n{\n font-size: 8pt;\n font-family: Arial;\n}\n</STYLE>"},
        {137, "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\">"},
        {138, "  <TR BGCOLOR=\"White\" ALIGN=\"RIGHT\">"},
        {139, "<TD>%s</TD>"},
        {140, "<TD COLSPAN=\"%d\">%s</TD>"},
        {141, "<TD ALIGN=\"LEFT\">%s</TD>"},
        {142, "</TR>"},
        {143, "<BODY>\n<TABLE BGCOLOR=\"Black\" CELLSPACING=\"1\" CELLPADDING=\"3\">"},
        {144, "</TABLE>\n</BODY>\n</HTML>"},
        {145, "&nbsp;"},
        {146, "<STYLE>\nTR\n{\n font-size: 8pt;\n font-family: Arial;\n}\n"
              "#SL\n{\n margin-left:15px;\n}\n</STYLE>"},
        {147, "<TD><DIV ID=\"SL\">%s</DIV></TD>"},
        {148, "  <TR BGCOLOR=\"White\">"},

        // messages
        {1076, "Sorry, no data!"},
        {1078, "Definition is not found!"},
        {1079, "Can not find definitions file!"},
        {10151, "Select required parameters first (Indicators, Regions, Time periods) !"},

        // catalogue and selection labels
        {1077, "Temporary indicators"},
        {1401, "First Available"},
        {1402, "Last Available"},
        {10155, "Moving average"},
        {15002, "Selected indicators"},

        // popup titles and grid column headers
        {1100, "Time periods"},
        {1200, "Indicators"},
        {1300, "Regions"},
        {1600, "Group"},
        {1700, "Zones"},

        // chart, boxplot and histogram labels
        {1080, "Region number"},
        {1081, "region value"},
        {1082, "average value"},
        {1083, "%.2g%% middle values are in"},
        {1084, "box"},
        {1085, "Box Min"},
        {1086, "Box Max"},
        {1087, "Correlation: %.3g\nSignificant interval (p: 0.05)\nCorrelation interval is\nfrom: "
               "%.3g to: %.3g\n"},

        // map legend and map scale dialog
        {1088, "6-th"},
        {1089, "5-th"},
        {1090, "4-th"},
        {1091, "3-rd"},
        {1092, "2-nd"},
        {1093, "1-st"},
        {1095, "No data"},
        {1096, "Min"},
        {1097, "Max"},
        {2101, "Upper"},
        {2102, "6-th"},
        {2103, "5-th"},
        {2104, "4-th"},
        {2105, "3-rd"},
        {2106, "2-nd"},
        {2107, "Lower"},
        {2108, "Sections"},
        {2109, "All rangs"},
        {2110, "Min && Max"},
        {2111, "Section"},
        {2112, "Value"},

        // printing
        {7000, "Source: KVZ Database"},
        {10136, "Page %d"},

        // status-bar prompts of commands (command id + 10000)
        {11010, "To select parameters: indicators, regions and time periods..."},
        {11020, "To setup temporary indicator parameters..."},
        {11030, "To setup printing parameters..."},
        {11040, "To print indicator list..."},
        {12000, "To view Maps..."},
        {13010, "To view Bar Chart ..."},
        {13021, "To view Vertical Ranked Bar Chart..."},
        {13022, "To view Horizontical Ranked Bar Chart..."},
        {13031, "To view Line Chart A..."},
        {13032, "To view Line Chart B..."},
        {13033, "To view Line Chart C..."},
        {13050, "To view Scattergram..."},
        {13061, "To view Boxplot by Value..."},
        {13062, "To view Boxplot by Rank..."},
        {13070, "To view Histogram..."},
        {13082, "To view region Profile..."},
        {13090, "To view Data Availability..."},
        {14010, "To view Table A..."},
        {14020, "To view Table B..."},
        {14030, "To view Table C..."},
        {14040, "To view Table D..."},
        {14050, "To view Table E..."},
        {15010, "To view ZOR-2 Help..."},
        {15020, "To view Indicator Definitions..."},
        {15030, "To view ZOR-2 About Screen..."},
        {16000, "To Quit ZOR-2 Application..."},

        // window titles of the frames (the frame's menu resource id)
        {25002, "Maps"},
        {25003, "Bar Chart"},
        {25004, "Ranked Bar Chart"},
        {25005, "Horizontal Ranked Bar Chart"},
        {25006, "Line Chart A"},
        {25007, "Line Chart B"},
        {25008, "Scattergram"},
        {25009, "Boxplot by value"},
        {25010, "Boxplot by rank"},
        {25011, "Histogram"},
        {25012, "Region profile"},
        {25013, "Data availability"},
        {25014, "Table A"},
        {25015, "Table B"},
        {25016, "Table C"},
        {25017, "Table D"},
        {25018, "Line Chart C"},
        {25019, "Indicator definitions"},
        {25020, "Setup temporary indicators"},
        {25021, "Print indicator list"},
        {25022, "Slide view"},
        {25023, "Table E"},

        // dialog captions (dialog resource id)
        {100, "About zorgui2"},
        {20001, "Select Parameters"},
        {20003, "Map Scale Parameters"},
        {20006, "Export"},
        {20007, "Available regions"},
        {20008, "Change scale"},
        {20009, "Ranked Bar Chart Selection"},
        {20010, "Change scale"},
        {20011, "Scattergram setup"},
        {20012, "Statistics"},
        {20013, "Histogram parameters"},
        {20014, "Select indicator"},
        {20017, "Regions highlighting"},
        {20018, "Slide view parameters"},

        // dialog control captions (control id; shared by every dialog that uses the id)
        {10001, "OK"},
        {10002, "Cancel"},
        {10003, "Insert"},
        {10004, "Delete"},
        {10103, "Load"},
        {10104, "Clear"},
        {10105, "Save"},
        {10108, "Load"},
        {10109, "Clear"},
        {10110, "Save"},
        {10111, "Parameters"},
        {10112, "Top level region"},
        {10113, "Specific region"},
        {10115, "Small regions"},
        {10117, " Clear"},
        {10118, "Save list"},
        {10119, "Number of sections"},
        {10120, "Default"},
        {10121, "Destination"},
        {10122, "Clipboard"},
        {10123, "Metafile"},
        {10124, "Picture"},
        {10125, "Black && White"},
        {10126, "Colored"},
        {10127, "Export"},
        {10128, "Select all"},
        {10129, "Unselect all"},
        {10130, "Min:"},
        {10131, "Max:"},
        {10132, "Section:"},
        {10133, "Blue bar:"},
        {10134, "Light blue bar:"},
        {10135, "Use two bars chart"},
        {10137, "Min:"},
        {10138, "Max:"},
        {10139, "Section:"},
        {10140, "X Scale"},
        {10141, "Y Scale"},
        {10142, "Columns:"},
        {10146, "Save current item"},
        {10147, "Select indicator groups:"},
        {10148, "Only first level indicators"},
        {10149, "All indicators"},
        {10150, "Print"},
        {10152, "Use regions highlighting"},
        {10153, "Frames between\neach time point "},
        {10154, "Continue play"},
        {10156, "Use logarithmic scale"},
        {10205, ". . ."},
        {10206, ". . ."},
        {15001, "Indicators"},
        {15003, "Regions"},
        {15004, "Selected regions"},
        {15005, "Time periods"},
    });
    return table;
}

const std::vector<StringEntry>& MenuCommandCaptions() {
    static const std::vector<StringEntry> table = SortedById({
        // main frame, menu 25001
        {1010, "Select &Parameters"},
        {1020, "Setup &Temporary Indicators"},
        {1030, "&Printer Setup ..."},
        {1040, "&Print Main Indicators List"},
        {2000, "&Maps"},
        {3010, "&Bar Chart"},
        {3021, "Vertical"},
        {3022, "Horizontal"},
        {3031, "Line Chart &A"},
        {3032, "Line Chart &B"},
        {3033, "Line Chart &C"},
        {3050, "&Scattergram"},
        {3061, "By &value"},
        {3062, "By &rank"},
        {3070, "&Histogram"},
        {3082, "Region &Profile"},
        {3090, "&Availability"},
        {4010, "Table &A"},
        {4020, "Table &B"},
        {4030, "Table &C"},
        {4040, "Table &D"},
        {4050, "Table &E"},
        {5010, "&Contents"},
        {5020, "&Definitions"},
        {5030, "&About"},
        {6000, "Quit"},

        // view frames: charts, map, grids
        {1075, "Use 3-year average "},
        {1094, "Scale"},
        {1098, "Print"},
        {1099, "Special"},
        {1300, "Regions"},
        {1400, "Select"},
        {1403, "Zoom Out"},
        {1404, "Correlation"},
        {1800, "Regions"},
        {2011, "Parts"},
        {2012, "Quintiles"},
        {2013, "Export"},
        {2014, "Copy"},
        {2113, "Slide view"},

        // boxplot by value and region profile: popup "Scale"
        {1501, "90%"},
        {1502, "80%"},
        {1503, "70%"},
        {1504, "60%"},
        {1505, "50%"},
        {1506, "40%"},
        {1507, "30%"},
        {1508, "20%"},
        {1509, "10%"},

        // region profile: popup "Group"
        {1601, "Current selection"},

        // slide frame: right-click popup
        {2115, "Single"},
        {2116, "Continue"},
        {2117, "Stop"},
        {2118, "Maximized"},
    });
    return table;
}

const char* CommandCaption(int id) {
    const auto& t = MenuCommandCaptions();
    auto it = std::lower_bound(t.begin(), t.end(), id,
                               [](const StringEntry& e, int v) { return e.id < v; });
    return it != t.end() && it->id == id ? it->text : "";
}

} // namespace zor

// The ids the program's resources share: menu commands, menu and dialog resources, string-table
// texts and dialog controls. A text of the titles table replaces the string of the same id, so
// these numbers are part of the deployed titles files and never change.
#pragma once

namespace zor {

// Menu commands of the main frame and of the view frames.
enum CommandId : int {
    CmdUseAverage = 1075, // "Use 3-year average " of line charts A and B
    CmdScale = 1094,
    CmdPrint = 1098,
    CmdSpecial = 1099, // picture export
    CmdRegions = 1300, // the "Regions" dialog of the ranked bar charts and tables
    CmdSelect = 1400,  // "Select" of the horizontal ranked bar chart
    CmdLineRegions = 1800,
    // The scattergram's "Zoom Out" (all of the data again) and "Correlation" (with its interval).
    CmdZoomOut = 1403,
    CmdCorrelation = 1404,
    CmdExport = 2013,    // "Export" of table A: every period of the current indicator to a file
    CmdCopy = 2014,      // "Copy" of the tables: the table as HTML on the clipboard
    CmdParts = 2011,     // "Type of Maps" of the map view
    CmdQuintiles = 2012, // "Type of Maps" of the map view
    CmdSlideView = 2113, // the map view's slide show
    CmdSlideSingle = 2115,
    CmdSlideContinue = 2116,
    CmdSlideStop = 2117,
    CmdSlideMaximized = 2118,

    CmdSelectParameters = 1010,
    CmdTemporaryIndicators = 1020,
    CmdPrinterSetup = 1030,
    CmdPrintIndicatorList = 1040,
    CmdMap = 2000,
    CmdBarChart = 3010,
    CmdRankedBarChart = 3021,
    CmdHorizontalRankedBarChart = 3022,
    CmdLineChartA = 3031,
    CmdLineChartB = 3032,
    CmdLineChartC = 3033,
    CmdScattergram = 3050,
    CmdBoxplotByValue = 3061,
    CmdBoxplotByRank = 3062,
    CmdHistogram = 3070,
    CmdRegionProfile = 3082,
    CmdAvailability = 3090,
    CmdTableA = 4010,
    CmdTableB = 4020,
    CmdTableC = 4030,
    CmdTableD = 4040,
    CmdTableE = 4050,
    CmdHelpContents = 5010,
    CmdDefinitions = 5020,
    CmdAbout = 5030,
    CmdQuit = 6000,

    // Items of the popup lists a view puts into its frame's menu bar: the first id of each list.
    CmdFirstPeriod = 1101,
    CmdFirstIndicator = 1201,
    CmdFirstRegion = 1301,

    // The "Scale" popup of the boxplot by value and the region profile: step n (1 ... 9) is
    // CmdScaleBase + n, the box or band of 100 - 10 n % of the values.
    CmdScaleBase = 1500,
    CmdFirstScale = 1501, // "90%"
    CmdLastScale = 1509,  // "10%"
    // The "Group" popup of the region profile and data availability: the current selection,
    // then the group at position p of the catalogue as CmdFirstGroup + p.
    CmdCurrentSelection = 1601,
    CmdFirstGroup = 1602,
    // The "Zones" popup of data availability: the region set at position p as CmdFirstZone + p.
    CmdFirstZone = 1701,
};

// Positions beyond this in a popup list are listed but cannot be chosen (ids up to 1151, ...).
inline constexpr int MaxPopupChoices = 51;

// Menu resources; the window title of a frame is the string with the same id.
enum MenuId : int {
    MenuMainFrame = 25001,
    MenuMap = 25002,
    MenuBarChart = 25003,
    MenuRankedBarChart = 25004,
    MenuHorizontalRankedBarChart = 25005,
    MenuLineChartA = 25006,
    MenuLineChartB = 25007,
    MenuScattergram = 25008,
    MenuBoxplotByValue = 25009,
    MenuBoxplotByRank = 25010,
    MenuHistogram = 25011,
    MenuRegionProfile = 25012,
    MenuAvailability = 25013,
    MenuTableA = 25014,
    MenuTableB = 25015,
    MenuTableC = 25016,
    MenuTableD = 25017,
    MenuLineChartC = 25018,
    MenuDefinitions = 25019,
    MenuTemporaryIndicators = 25020,
    MenuIndicatorList = 25021,
    MenuSlideView = 25022,
    MenuTableE = 25023,
};

// Dialog resources.
enum DialogId : int {
    DialogParameters = 20001,
    DialogSaveSelection = 20002,
    DialogExport = 20006,
    DialogRegionList = 20007,
    DialogScale = 20008,
    DialogXYScale = 20010,
    DialogScatterSetup = 20011, // "Scattergram setup"
    DialogStatistics = 20012,   // the scattergram's correlation
    DialogHistogram = 20013,    // "Histogram parameters"

    DialogRankedSelection = 20009,  // "Ranked Bar Chart Selection"
    DialogRegionsHighlight = 20017, // "Regions highlighting" of line chart A
    DialogMapScale = 20003,         // 'Map Scale Parameters'
    DialogMapScaleList = 20004,     // its "All rangs" and "Min && Max" pages
    DialogMapScaleSections = 20005, // its "Sections" page
    DialogSlideParams = 20018,      // 'Slide view parameters'

    // 'Select indicator' of the temporary-indicator editor and the form of the indicator-list
    // window.
    DialogSelectIndicator = 20014,
    DialogIndicatorList = 20016,
};

// String-table texts the code asks for by id.
enum StringId : int {
    TextNoData = 1076,            // "Sorry, no data!"
    TextNoDefinitionsFile = 1079, // "Can not find definitions file!"
    TextRegionNumber = 1080,      // the histogram's value axis title
    TextCorrelation = 1087,       // the correlation with its interval (three %g)
    TextPeriodsPopup = 1100,      // "Time periods"
    TextIndicatorsPopup = 1200,   // "Indicators"
    TextRegionsPopup = 1300,      // "Regions"
    TextFirstAvailable = 1401,
    TextLastAvailable = 1402,
    TextScaleRowFirst = 1088, // "6-th" .. "1-st" (1093): inner rows of the map scale dialog
    TextMapNoData = 1095,     // "No data" of the map legend and tooltips
    TextMin = 1096,
    TextMax = 1097,
    TextRankFirst = 2101, // "Upper", "6-th" .. "2-nd", "Lower" (2107): Quintiles legend
    TextSectionsTab = 2108,
    TextAllRangesTab = 2109,
    TextMinMaxTab = 2110,
    TextSectionColumn = 2111,
    TextValueColumn = 2112,
    TextSourceLine = 7000, // printed under every chart
    // "Page %d" over printed grids
    TextPageNumber = 10136,
    TextSelectFirst = 10151,
    TextTemporaryIndicators = 1077, // group 10 and the editor tree's root
    TextMovingAverage = 10155,      // type 7 in the editor's type list
    TextSelectedIndicators = 15002, // the definitions tree's root
    TextProgramTitle = 25001,
    // The status-bar prompt of command n is text n + PromptOffset.
    PromptOffset = 10000,

    // The boxplots: the legend ("region value", "average value", "%.2g%% middle values are
    // in" with the box fraction in percent, "box") and the labels of the bar by value.
    TextRegionValue = 1081,
    TextAverageValue = 1082,
    TextMiddleValues = 1083,
    TextBoxLegend = 1084,
    TextBoxMin = 1085,
    TextBoxMax = 1086,
    TextMinLabel = 1096,
    TextMaxLabel = 1097,
    // Popup titles of the region profile and data availability.
    TextGroupPopup = 1600, // "Group"
    TextZonesPopup = 1700, // "Zones"
};

// Dialog controls whose captions the titles table may replace.
enum ControlId : int {
    CtlOk = 10001,
    CtlCancel = 10002,
    CtlInsert = 10003,
    CtlDelete = 10004,
    CtlIndicatorLoad = 10103,
    CtlIndicatorClear = 10104,
    CtlIndicatorSave = 10105,
    CtlRegionLoad = 10108,
    CtlRegionClear = 10109,
    CtlRegionSave = 10110,
    CtlParameters = 10111, // the "Parameters" box or heading
    CtlTopLevelRegions = 10112,
    CtlSpecificRegion = 10113,
    CtlRegionSetBox = 10114,
    CtlSmallRegions = 10115,
    CtlPeriodClear = 10117,
    CtlDefault = 10120,
    CtlDestination = 10121,
    CtlClipboard = 10122,
    CtlMetafile = 10123,
    CtlPicture = 10124,
    CtlBlackAndWhite = 10125,
    CtlColored = 10126,
    CtlExport = 10127,
    CtlSelectAll = 10128,
    CtlUnselectAll = 10129,
    CtlMinLabel = 10130,
    CtlMaxLabel = 10131,
    CtlSectionLabel = 10132,
    CtlXMinLabel = 10137,
    CtlXMaxLabel = 10138,
    CtlXSectionLabel = 10139,
    CtlXScaleGroup = 10140,
    CtlYScaleGroup = 10141,
    CtlColumnsLabel = 10142, // "Columns:" of "Histogram parameters"
    CtlNumberOfSections = 10119,
    CtlFramesBetween = 10153,
    CtlContinuePlay = 10154,
    CtlLogarithmic = 10156,
    CtlStatisticsText = 10182, // the correlation text of "Statistics"
    CtlYIndicator = 10183,     // "Scattergram setup": the Y indicator and period, the X ones
    CtlYPeriod = 10184,
    CtlXIndicator = 10185,
    CtlXPeriod = 10186,
    CtlXSectionEdit = 10187,
    CtlXMinEdit = 10188,
    CtlXMaxEdit = 10189,
    CtlSectionEdit = 10192,
    CtlMinEdit = 10193,
    CtlMaxEdit = 10194,
    CtlRegionList = 10195,
    CtlColumnsEdit = 10196, // the column count with its up-down control
    CtlColumnsSpin = 10197,

    CtlBlueBar = 10133,      // "Blue bar:" of the ranked bar chart selection
    CtlLightBlueBar = 10134, // "Light blue bar:"
    CtlTwoBars = 10135,      // "Use two bars chart"
    CtlUseHighlighting = 10152,
    CtlPeriodB = 10190,
    CtlPeriodA = 10191,
    CtlIndicatorA = 10203,
    CtlIndicatorB = 10204,
    CtlSpinEdit = 10196, // the edit of an up-down control (the maps' dialogs)
    CtlSpin = 10197,
    CtlScaleTabs = 10198,
    CtlScaleList = 10199,

    CtlIndicatorTree = 10195, // 'Select indicator' tree and the indicator list's groups
    // The temporary-indicator editor's form and pages.
    CtlPageArea = 10000,
    CtlSaveList = 10118,
    CtlSaveCurrentItem = 10146,
    CtlTempCode = 10200,
    CtlTempTitle = 10201,
    CtlTempType = 10202,
    CtlTempFirst = 10203,  // "I1:" / "I:"
    CtlTempSecond = 10204, // "I2:"
    CtlPickFirst = 10205,  // ". . ." of I1
    CtlPickSecond = 10206, // ". . ." of I2
    CtlTempNumber = 10207, // "C:" or the years
    // The indicator-list window.
    CtlSelectGroups = 10147,
    CtlFirstLevelOnly = 10148,
    CtlAllIndicators = 10149,
    CtlPrintList = 10150,

    CtlIndicatorsLabel = 15001,
    CtlSelectedIndicatorsLabel = 15002,
    CtlRegionsLabel = 15003,
    CtlSelectedRegionsLabel = 15004,
    CtlPeriodsLabel = 15005,
};

} // namespace zor

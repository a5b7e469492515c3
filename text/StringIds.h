#pragma once

// Ids of the string table (English texts in text/strings/en.txt), for LangStr. Grouped by the
// window or dialog that shows them. Messages that are followed by a code end in ": " or get
// ": " added by the caller, as noted.

// Common buttons.
inline constexpr int kStrOK = 1;
inline constexpr int kStrCancel = 2;
inline constexpr int kStrApply = 3;

// Main window: run list columns, notes pane and messages.
inline constexpr int kStrColumnRun = 689;
inline constexpr int kStrColumnTitle = 157;
inline constexpr int kStrColumnDate = 158;
inline constexpr int kStrColumnType = 159;
inline constexpr int kStrColumnLocation = 690;
inline constexpr int kStrColumnGearRatio = 873;
inline constexpr int kStrNotes = 1403;            // "Notes"; callers add ":" or ": "
inline constexpr int kStrMainTitle = 688;         // "HALVORN RESEARCH"
inline constexpr int kStrTooManyRuns = 685;       // 12-run limit on drop and hand-off
inline constexpr int kStrErrorLoading = 818;      // caller adds ": " and the load status
inline constexpr int kStrErrorCalculating = 858;  // ends in ": "; caller adds the code
inline constexpr int kStrError = 850;             // "Error": caption of 858, text with 851
inline constexpr int kStrCantLoadRunInfo = 851;

// Main window: language check at start-up and after the options dialog.
inline constexpr int kStrErrorCaption = 321;  // "ERROR"
inline constexpr int kStrNoChineseFont = 885;
inline constexpr int kStrNoJapaneseFont = 886;
// A later start that could not reach the running window; 888 precedes the files it kept.
inline constexpr int kStrHandOffFailed = 887;
inline constexpr int kStrFilesNotOpened = 888;

// Main window: tool bar, actions and menus (caption / hint pairs as the window uses them).
inline constexpr int kStrGraphToolbar = 706;
inline constexpr int kStrCorrectionFactor = 707;  // CFLabel, CorrectionFactor caption
inline constexpr int kStrSelectCorrectionFactor = 708;
inline constexpr int kStrSmoothingColon = 709;  // "Smoothing:"
inline constexpr int kStrSmoothingHint = 710;
inline constexpr int kStrSmoothing = 784;
inline constexpr int kStrExit = 718;
inline constexpr int kStrAbout = 730;  // caller adds " Halvorn Tracewell"
inline constexpr int kStrMouseMode = 835;
inline constexpr int kStrMouseModeHint = 834;
inline constexpr int kStrPointMode = 837;
inline constexpr int kStrPointModeHint = 836;
inline constexpr int kStrZoomModeCaption = 731;
inline constexpr int kStrZoomModeHint = 348;
inline constexpr int kStrPanModeCaption = 732;
inline constexpr int kStrPanModeHint = 349;
inline constexpr int kStrRescale = 733;
inline constexpr int kStrRescaleHint = 734;
inline constexpr int kStrCursor = 736;
inline constexpr int kStrCursorHint = 737;
inline constexpr int kStrForceScalingCaption = 738;
inline constexpr int kStrForceScaling = 363;  // hint; also the options dialog's check box
inline constexpr int kStrNegative = 751;
inline constexpr int kStrUnzoom = 753;
inline constexpr int kStrRezoom = 754;
inline constexpr int kStrDisplayMaxValues = 755;
inline constexpr int kStrDisplayConditions = 605;
inline constexpr int kStrDisplayRunName = 756;  // DisplayTitles and DisplayCrsrTitles
inline constexpr int kStrDisplayNothing = 757;
inline constexpr int kStrDisplayUnitName = 764;
inline constexpr int kStrOpen = 758;
inline constexpr int kStrOpenHint = 759;
inline constexpr int kStrPrint = 760;
inline constexpr int kStrPrintHint = 652;
inline constexpr int kStrPrinterSetup = 761;
inline constexpr int kStrCursorSmall = 765;
inline constexpr int kStrCursorMedium = 766;
inline constexpr int kStrCursorLarge = 767;
inline constexpr int kStrShowOneGraph = 771;
inline constexpr int kStrShowTwoGraphs = 773;
inline constexpr int kStrShowThreeGraphs = 774;
inline constexpr int kStrCursorOptions = 777;
inline constexpr int kStrRemoveAllRuns = 779;
inline constexpr int kStrRemoveSelectedRuns = 781;
inline constexpr int kStrFontSize = 782;
inline constexpr int kStrGraphOptionsMenu = 798;
inline constexpr int kStrEnvironmentOptions = 800;  // action caption and dialog caption
inline constexpr int kStrEnvironmentOptionsHint = 841;
inline constexpr int kStrHelpMenu = 801;
inline constexpr int kStrToolsMenu = 792;
inline constexpr int kStrFileMenu = 810;

// Printing.
inline constexpr int kStrRunConditions = 376;
inline constexpr int kStrPrintRunType = 681;
inline constexpr int kStrPrintDate = 682;
inline constexpr int kStrNoPrinter = 683;
inline constexpr int kStrNoRunsToPrint = 684;

// Environment options dialog.
inline constexpr int kStrGraphOptions = 40;
inline constexpr int kStrDisplayVerticalCursor = 342;
inline constexpr int kStrDisplayRunNameOnCursor = 343;
inline constexpr int kStrDisplayUnitNameOnCursor = 344;
inline constexpr int kStrAutomaticScaling = 358;
inline constexpr int kStrDisplayNegativeValues = 362;
inline constexpr int kStrCurrentUnits = 1000;
inline constexpr int kStrErrorLoadingForm = 1001;
inline constexpr int kStrPreDefinedUnits = 1002;
inline constexpr int kStrUnitsSAE = 1003;
inline constexpr int kStrUnitsJapanese = 1004;
inline constexpr int kStrUnitsMetric = 1005;
inline constexpr int kStrSaveCurrentSettings = 1006;
inline constexpr int kStrSaveChangesOnExit = 1007;
inline constexpr int kStrToolbarSize = 1009;
inline constexpr int kStrToolbarSmall = 1010;
inline constexpr int kStrToolbarLarge = 1011;
inline constexpr int kStrGeneral = 1012;
// Language combo box entries.
inline constexpr int kStrLanguageSystemDefault = 883;
inline constexpr int kStrLanguageEnglish = 874;
inline constexpr int kStrLanguageSpanish = 877;
inline constexpr int kStrLanguageGerman = 876;
inline constexpr int kStrLanguageDutch = 875;
inline constexpr int kStrLanguageItalian = 879;
inline constexpr int kStrLanguageFrench = 878;
inline constexpr int kStrLanguageJapanese = 880;
inline constexpr int kStrLanguageChinese = 884;

// About box: the notice label is 1179, the maker's notice, 1180.
inline constexpr int kStrAboutCaption = 1176;  // caller adds " Halvorn Tracewell"
inline constexpr int kStrVersion = 1177;
inline constexpr int kStrCopyright = 1179;
inline constexpr int kStrAllRightsReserved = 1180;

// Run information dialog.
inline constexpr int kStrRunInfoCaption = 1301;
inline constexpr int kStrRunName = 1302;
inline constexpr int kStrDynoInformation = 1303;
inline constexpr int kStrRunInformation = 1304;
inline constexpr int kStrRunType = 1305;
inline constexpr int kStrRunNotes = 1306;
inline constexpr int kStrLastModified = 1307;
inline constexpr int kStrRunTitle = 1308;
inline constexpr int kStrDateCreated = 1309;
inline constexpr int kStrAbsolutePressure = 1310;
inline constexpr int kStrAirTemp = 1311;
inline constexpr int kStrVaporPressure = 1312;
inline constexpr int kStrHumidity = 1313;
inline constexpr int kStrAltitude = 1314;
inline constexpr int kStrRunCreatedIn = 1315;
inline constexpr int kStrErrorSavingRunFile = 1318;  // ends in ": "; caller adds the code
inline constexpr int kStrErrorSavingCaption = 1319;
inline constexpr int kStrDrum = 1320;  // "Drum "; caller adds the number and ":"
inline constexpr int kStrNoDrumData = 1321;
inline constexpr int kStrRunNotLoaded = 1322;
inline constexpr int kStrClosingRunInfo = 1323;

// Open dialog.
inline constexpr int kStrHideDetails = 1400;  // caller puts "<< " before it
inline constexpr int kStrOpenRunType = 1402;  // caller adds ": "
inline constexpr int kStrRunFilesFilter = 1404;
inline constexpr int kStrOpenTitle = 1405;  // caller adds ": "

// Graph strings. The main window fills the graph's list with the current correction factor's
// short name, then 688, then ids 1901 upwards, so graph string k (2..27) is id 1899 + k.
inline constexpr int kStrGraphStringsFirst = 1901;  // graph string 2
inline constexpr int kGraphStringCount = 28;
constexpr int GraphStringId(int index) {
  return 1899 + index;
}

// Text families, read through CFString, UnitString and ChannelString (Language.h).
inline constexpr int kStrCFBase = 2050;       // 2050 + 2c + k
inline constexpr int kStrUnitBase = 2100;     // 2100 + 2u + k
inline constexpr int kStrChannelBase = 2300;  // 2300 + 2t + k

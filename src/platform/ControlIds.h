#pragma once

// Control ids of the main window's and the Configure dialog's children.
// Several controls share an id (every static text is 1011, the drives and
// plays lists are both 1045).
constexpr int IDC_GAME_OVERVIEW = 1002;
constexpr int IDC_OFFENSE = 1003;
constexpr int IDC_DEFENSE = 1004;
constexpr int IDC_SPECIAL_TEAMS = 1005;
constexpr int IDC_SCORING_PLAYS = 1006;
constexpr int IDC_PLAY_BY_PLAY = 1007;
constexpr int IDC_DRIVE_CHARTS = 1008;
constexpr int IDC_CONFIGURE = 1009;
constexpr int IDC_PAGE_CONTAINER = 1010;
constexpr int IDC_STATIC_TEXT = 1011;
constexpr int IDC_TEAM_STATS = 1028;
constexpr int IDC_YARDAGE_SUMMARY = 1029;
constexpr int IDC_PASSING = 1030;
constexpr int IDC_RUSHING = 1031;
constexpr int IDC_RECEIVING = 1032;
constexpr int IDC_DEFENSE_TABLE = 1033;
constexpr int IDC_SPECIAL_TEAMS_TABLE = 1034;
constexpr int IDC_SCORING_SUMMARY = 1035;
constexpr int IDC_PLAY_BY_PLAY_TABLE = 1037;
constexpr int IDC_DRIVE_CHART = 1038;
constexpr int IDC_PERIOD = 1039;
constexpr int IDC_SCORING_ONLY = 1040;
constexpr int IDC_HOME_TEAM = 1041;
constexpr int IDC_VISITOR_TEAM = 1042;
constexpr int IDC_BOTH_TEAMS = 1043;
constexpr int IDC_DRIVE_TEXT = 1044;
constexpr int IDC_DRIVE_LISTS = 1045;
constexpr int IDC_SPLITTER = 1047;
constexpr int IDC_GAME_FILE = 1048;
constexpr int IDC_HOME_FILE = 1049;
constexpr int IDC_VISITOR_FILE = 1050;
constexpr int IDC_BROWSE_GAME_FILE = 1051;
constexpr int IDC_BROWSE_HOME_FILE = 1052;
constexpr int IDC_BROWSE_VISITOR_FILE = 1053;
constexpr int IDC_SHOW_TOP = 1056;
constexpr int IDC_DRIVE_HINT = 1057;

class QWidget;

// Gives a window its control id, by which notifications name their sender.
void SetDlgCtrlID(QWidget *window, int id);

// The window's control id; 0 when it has none.
int GetDlgCtrlID(const QWidget *window);

// The first direct child of `parent` with the control id, or null.
QWidget *GetDlgItem(const QWidget *parent, int id);

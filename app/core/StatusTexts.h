#pragma once
// The main frame's status-bar panes and the texts shown in them.
#include <span>
#include <string>

// The two progress panes are the marking controller's (it puts its progress
// bars there); their ids come from its header so both can be included together.
#include "marking/controller/ControllerMessages.h"

struct StatusPane {
  int id;
  const char* initialText;  // its length, blanks included, sets the pane width
  // A longer text the pane shows later, which widens it to fit (UTF-8), or
  // none when the initial text is the widest.
  const char* widestText = nullptr;
};

// Pane ids.
constexpr int ID_PANE_X_LABEL = 32876;
constexpr int ID_PANE_MOUSE_X = 32874;
constexpr int ID_PANE_Y_LABEL = 32877;
constexpr int ID_PANE_MOUSE_Y = 32875;
constexpr int ID_PANE_ORIGIN_LABEL = 61362;
constexpr int ID_PANE_CURSOR_POS = 61363;
constexpr int ID_PANE_TOTAL_LABEL = 61365;
constexpr int ID_PANE_TOTAL_COUNT = 61364;
constexpr int ID_PANE_TIME = 61361;
constexpr int ID_PANE_MARK_COUNT = 61360;
constexpr int ID_PANE_SPARE = 61353;
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;

// The 16 panes in their order on the bar.
std::span<const StatusPane> StatusPanes();

std::string FormatMousePos(double v);                  // "%.1f"
std::string FormatCursorPos(double x, double y);       // "x:%.2f,y=%.2f"
std::string FormatTotalCount(int n);                   // "%d"
std::string FormatMarkCount(int finished, int total);  // "%d/%d次" (UTF-8)
std::string FormatMarkTime(long long ms);              // "%.2f秒" of seconds (UTF-8)
std::string FormatRecordNumber(int n);                 // "%d"
// The record number typed by the operator: leading digits as atoi reads
// them, 0 for text that is not a number.
int ParseRecordNumber(const std::string& text);

#pragma once
// Process-wide helpers of the engine: hit tests, calendar stepping for
// date-time axes, a callback-driven sort, number and field texts, the
// default colour table and the date-time step table.
#include "chart/core/PlotTypes.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace cb::gfx {
class TCanvas;
}

namespace cb::chart {

// Days since 1899-12-30, the time of day as the fraction.
using TDateTime = double;

TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// --- hit tests (pixel coordinates) ---
bool PointOnSegment(const TPoint& p, int x0, int y0, int x1, int y1, int tolerance);
bool PointOnSegmentPoints(const TPoint& p, const TPoint& a, const TPoint& b, int tolerance);
bool PointOnSegmentExact(const TPoint& p, int x0, int y0, int x1, int y1);
bool PointOnSegmentBetween(const TPoint& p, const TPoint& a, const TPoint& b);
// Even-odd rule over points[0..lastIndex]; False for lastIndex < 0.
bool PolygonContainsPoint(const TPoint& p, const TPoint* points, int lastIndex);
bool PolygonContainsPoint(const TPoint& p, const std::vector<TPoint>& points);
// Triangle (x0, yBase), ((x0 + x1) div 2, yApex), (x1, yBase).
bool TriangleContainsPoint(const TPoint& p, int x0, int x1, int yBase, int yApex);
// Triangle (xBase, y0), (xApex, (y0 + y1) div 2), (xBase, y1).
bool SideTriangleContainsPoint(const TPoint& p, int y0, int y1, int xBase, int xApex);
bool EllipseContainsPoint(const TPoint& p, int left, int top, int right, int bottom);
bool EllipseRectContainsPoint(const TPoint& p, const TRect& r);

// --- date-time steps ---
constexpr int DateTimeStepCount = 27;
// Day fractions, ascending: 1 microsecond ... 365 days.
extern const double DateTimeSteps[DateTimeStepCount];
enum TDateTimeStep {
    dtHalfMonth = 20,
    dtOneMonth = 21,
    dtTwoMonths = 22,
    dtThreeMonths = 23,
    dtFourMonths = 24,
    dtSixMonths = 25,
    dtOneYear = 26,
};
// The step after the largest entry the value reaches; 365 days at the ends.
double NextDateTimeStep(double value);
// Index of the entry within one microsecond of value; 27 when none.
int DateTimeStepIndex(double value);
// The short date picture of the format settings for a step (or span) above
// one day, else the short time picture; both in FormatDateTime's syntax.
std::string DateTimeFormatForStep(double step);
// The value rounded down to the start of its calendar period (steps 20-26).
TDateTime RoundDateToStep(int stepIndex, TDateTime value);
// Moves value one step up or down.
void StepDateTime(bool exact, bool increase, TDateTime& value, int stepIndex, double delta);

// --- sorting ---
using TSortCompare = std::function<int(int a, int b)>;
using TSortSwap = std::function<void(int a, int b)>;
// Sorts the index range startIndex..endIndex of any container: compare
// answers <0, 0, >0; swap exchanges two items in place.
void SortWithCallbacks(int startIndex, int endIndex, const TSortCompare& compare, const TSortSwap& swap);

// --- texts ---
std::string IntegerToString(int value);
// "," becomes the thousand separator and "." the decimal separator.
std::string NumberTextToLocal(const std::string& text, char thousandSeparator, char decimalSeparator);
std::string NumberTextToLocal(const std::string& text);  // the system locale's separators
std::string NumberTextToInvariant(const std::string& text, char thousandSeparator, char decimalSeparator);
std::string NumberTextToInvariant(const std::string& text);

// The separator of CountSeparatedFields and ExtractSeparatedField (";").
char FieldSeparator();
void SetFieldSeparator(char separator);
int CountSeparatedFields(const std::string& text);
int CountFieldsWithSeparator(const std::string& text, char separator);
// Fields count from 1; an index past the last field gives the last field.
std::string ExtractSeparatedField(const std::string& text, int index);
std::string ExtractFieldWithSeparator(const std::string& text, int index, char separator);
// Every ch replaced by newCh, or removed when newCh is '\0'.
std::string ReplaceOrRemoveChar(const std::string& text, char ch, char newCh);
// base + the first number 1, 2, ... that nameExists rejects; base + "1"
// when there is no owner (an empty nameExists).
std::string MakeUniqueComponentName(const std::function<bool(const std::string&)>& nameExists, const std::string& base);
void SetControlsEnabled(bool enabled, const std::vector<QWidget*>& controls);

// --- glyphs ---
// A 13 x 13 check box (or radio button when checkBox is False) at
// (left, top), ticked when asked.
constexpr int CheckGlyphSize = 13;
void DrawCheckGlyph(int left, int top, cb::gfx::TCanvas& canvas, bool ticked, bool checkBox);

// --- default colour table ---
constexpr int DefaultPaletteSize = 20;
TColor DefaultPaletteColor(int index);
// The process-wide palette series take their colours from.
std::vector<TColor>& DefaultPalette();
void LoadDefaultPalette();

// --- editor preferences (the user's settings store) ---
bool ReadEditorSettingBool(const std::string& name, bool defaultValue);
int ReadEditorSettingInteger(const std::string& name, int defaultValue);
void WriteEditorSettingBool(const std::string& name, bool value);

// --- engine error box ---
// A task-modal error box without caption; the text is cut to 1023
// characters. A sink set here receives the text instead (empty: the box).
using TEngineErrorSink = std::function<void(const std::string&)>;
void SetEngineErrorSink(TEngineErrorSink sink);
void ShowEngineError(const std::string& text);

// --- translation hook of the editor forms ---
using TTranslateProc = std::function<void(QWidget*)>;
void SetTranslationHook(TTranslateProc proc);
void ApplyTranslationHook(QWidget* control);

}  // namespace cb::chart

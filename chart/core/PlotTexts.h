#pragma once
// The chart engine's user-visible words: messages, type, style, function
// and tool names, default names, sample data and file filters. Every text
// is read by name when used, so replacing one at run time takes effect at
// the next use.
#include <string>
#include <vector>

namespace cb::chart {

#define CB_PLOT_TEXTS(X)                                                                                               \
    X(msgLogarithmicBase, "Axis Logarithmic Base should be <> 1 and > 0")                                              \
    X(msgDateTimeLogarithmic, "DateTime Axis cannot be Logarithmic")                                                   \
    X(msgLogarithmicMinMax, "Logarithmic Axis Min and Max values should be >= 0")                                      \
    X(msgLabelsSeparation, "Labels Separation % must be greater than 0")                                               \
    X(msgAxisIncrement, "Axis increment must be >= 0")                                                                 \
    X(msgAxisMinimum, "Axis Minimum Value must be <= Maximum")                                                         \
    X(msgAxisMaximum, "Axis Maximum Value must be >= Minimum")                                                         \
    X(msgFunctionPeriod, "Function Period should be >= 0")                                                             \
    X(msgNoParentChart, "No ParentChart to validate DataSource")                                                       \
    X(msgNoValidDataSource, "No valid DataSource: %s")                                                                 \
    X(msgFillSample, "FillSampleValues NumValues must be > 0")                                                         \
    X(msgSeriesDelete, "Series Delete: ValueIndex %d out of bounds (0 to %d).")                                        \
    X(msgMaxPointsPerPage, "MaxPointsPerPage must be >= 0")                                                            \
    X(msgCircularSeries, "Circular Series dependences are not allowed")                                                \
    X(msgPointerSize, "Pointer size must be greater than zero")                                                        \
    X(msgLegendFirstValue, "First Legend Value must be > 0")                                                           \
    X(msg3DPercent, "3D effect percent must be between %d and %d")                                                     \
    X(msgMultiplierObsolete,                                                                                           \
      "Error: Multiplier property is obsolete.\rModify PlotDefs (enable Multiplier) and recompile.")                   \
    X(txtValuesFormat, "#,##0.###")                                                                                    \
    X(txtPercentFormat, "##0.## %")                                                                                    \
    X(txtPercentOf, "%s of %s")                                                                                        \
    X(txtPercentOfLines, "%s\rof %s")                                                                                  \
    X(txtDefaultFontName, "Arial")                                                                                     \
    X(txtDefaultFontSize, "8")                                                                                         \
    X(txtSeries, "Series")                                                                                             \
    X(txtOther, "Other")                                                                                               \
    X(txtLeftAxis, "Left Axis")                                                                                        \
    X(txtRightAxis, "Right Axis")                                                                                      \
    X(txtTopAxis, "Top Axis")                                                                                          \
    X(txtBottomAxis, "Bottom Axis")                                                                                    \
    X(txtDepthRightAxis, "Depth Right")                                                                                \
    X(txtDepthTopAxis, "Depth Top")                                                                                    \
    X(txtGalleryStandard, "Standard")                                                                                  \
    X(txtGalleryExtended, "Extended")                                                                                  \
    X(txtGalleryLine, "Line")                                                                                          \
    X(txtGalleryHorizLine, "Horizontal\rLine")                                                                         \
    X(txtGalleryPoint, "Point")                                                                                        \
    X(txtGalleryArea, "Area")                                                                                          \
    X(txtGalleryHorizArea, "Horizontal\rArea")                                                                         \
    X(txtGalleryBar, "Bar")                                                                                            \
    X(txtGalleryHorizBar, "Horizontal\rBar")                                                                           \
    X(txtGalleryPie, "Pie")                                                                                            \
    X(txtGalleryFastLine, "Fast Line")                                                                                 \
    X(txtGalleryShape, "Shape")                                                                                        \
    X(txtGalleryGantt, "Gantt")                                                                                        \
    X(txtGalleryBubble, "Bubble")                                                                                      \
    X(txtGalleryArrow, "Arrow")                                                                                        \
    X(txtGalleryPyramid, "Pyramid")                                                                                    \
    X(txtFunctionAdd, "Add")                                                                                           \
    X(txtFunctionSubtract, "Subtract")                                                                                 \
    X(txtFunctionMultiply, "Multiply")                                                                                 \
    X(txtFunctionDivide, "Divide")                                                                                     \
    X(txtFunctionHigh, "High")                                                                                         \
    X(txtFunctionLow, "Low")                                                                                           \
    X(txtFunctionAverage, "Average")                                                                                   \
    X(txtFunctionMedian, "Median")                                                                                     \
    X(txtFunctionMode, "Mode")                                                                                         \
    X(txtFunctionCustom, "y = f(x)")                                                                                   \
    X(txtToolCursor, "Cursor")                                                                                         \
    X(txtToolDragMarks, "Drag Marks")                                                                                  \
    X(txtToolAxisArrows, "Axis Arrows")                                                                                \
    X(txtToolDrawLine, "Draw Line")                                                                                    \
    X(txtToolNearestPoint, "Nearest Point")                                                                            \
    X(txtToolColorBand, "Color Band")                                                                                  \
    X(txtToolColorLine, "Color Line")                                                                                  \
    X(txtToolRotate, "Rotate")                                                                                         \
    X(txtToolImage, "Image")                                                                                           \
    X(txtToolMarkTips, "Mark Tips")                                                                                    \
    X(txtToolAnnotation, "Annotation")                                                                                 \
    X(txtToolSeriesAnimation, "Series Animation")                                                                      \
    X(txtToolGridBand, "Grid Band")                                                                                    \
    X(txtToolAxisScroll, "Axis Scroll")                                                                                \
    X(txtToolRectangle, "Rectangle")                                                                                   \
    X(txtToolClipSeries, "Clip Series")                                                                                \
    X(txtToolExtraLegend, "Extra Legend")                                                                              \
    X(txtValueX, "X")                                                                                                  \
    X(txtValueY, "Y")                                                                                                  \
    X(txtValueBar, "Bar")                                                                                              \
    X(txtValuePie, "Pie")                                                                                              \
    X(txtValueAngle, "Angle")                                                                                          \
    X(txtValueStart, "Start")                                                                                          \
    X(txtValueEnd, "End")                                                                                              \
    X(txtValueNextTask, "NextTask")                                                                                    \
    X(txtValueRadius, "Radius")                                                                                        \
    X(txtValueEndX, "EndX")                                                                                            \
    X(txtValueEndY, "EndY")                                                                                            \
    X(txtStyleNormal, "Normal")                                                                                        \
    X(txtStyleStairs, "Stairs")                                                                                        \
    X(txtStylePoints, "Points")                                                                                        \
    X(txtStyleHeight, "Height")                                                                                        \
    X(txtStyleHollow, "Hollow")                                                                                        \
    X(txtStyleColors, "Colors")                                                                                        \
    X(txtStyleMarks, "Marks")                                                                                          \
    X(txtStyleNoBorder, "No Border")                                                                                   \
    X(txtStyleOutline, "Outline")                                                                                      \
    X(txtStylePoint2D, "Point 2D")                                                                                     \
    X(txtStyleTriangle, "Triangle")                                                                                    \
    X(txtStyleStar, "Star")                                                                                            \
    X(txtStyleCircle, "Circle")                                                                                        \
    X(txtStyleDownTri, "Down Tri.")                                                                                    \
    X(txtStyleCross, "Cross")                                                                                          \
    X(txtStyleDiamond, "Diamond")                                                                                      \
    X(txtStyleGradient, "Gradient")                                                                                    \
    X(txtStyleNoLines, "No Lines")                                                                                     \
    X(txtStyleStack, "Stack")                                                                                          \
    X(txtStyleStack100, "Stack 100%")                                                                                  \
    X(txtStylePyramid, "Pyramid")                                                                                      \
    X(txtStyleEllipse, "Ellipse")                                                                                      \
    X(txtStyleInvPyramid, "Inv. Pyramid")                                                                              \
    X(txtStyleSelfStacked, "Self Stacked")                                                                             \
    X(txtStyleSides, "Sides")                                                                                          \
    X(txtStyleSideAll, "Side All")                                                                                     \
    X(txtStylePatterns, "Patterns")                                                                                    \
    X(txtStyleExploded, "Exploded")                                                                                    \
    X(txtStyleShadow, "Shadow")                                                                                        \
    X(txtStyleSemiPie, "Semi Pie")                                                                                     \
    X(txtStyleDarkBorder, "Dark Border")                                                                               \
    X(txtStyleDotted, "Dotted")                                                                                        \
    X(txtStyleRectangle, "Rectangle")                                                                                  \
    X(txtStyleVertLine, "Vert.Line")                                                                                   \
    X(txtStyleHorizLine, "Horiz.Line")                                                                                 \
    X(txtStyleLine, "Line")                                                                                            \
    X(txtStyleCube, "Cube")                                                                                            \
    X(txtStyleDiagCross, "Diag.Cross")                                                                                 \
    X(txtSampleCars, "Cars")                                                                                           \
    X(txtSamplePhones, "Phones")                                                                                       \
    X(txtSampleTables, "Tables")                                                                                       \
    X(txtSampleMonitors, "Monitors")                                                                                   \
    X(txtSampleLamps, "Lamps")                                                                                         \
    X(txtSampleKeyboards, "Keyboards")                                                                                 \
    X(txtSampleBikes, "Bikes")                                                                                         \
    X(txtSampleChairs, "Chairs")                                                                                       \
    X(txtGanttDesign, "Design")                                                                                        \
    X(txtGanttPrototyping, "Prototyping")                                                                              \
    X(txtGanttDevelopment, "Development")                                                                              \
    X(txtGanttSales, "Sales")                                                                                          \
    X(txtGanttMarketing, "Marketing")                                                                                  \
    X(txtGanttTesting, "Testing")                                                                                      \
    X(txtGanttManufacturing, "Manufac.")                                                                               \
    X(txtGanttDebugging, "Debugging")                                                                                  \
    X(txtShapeText1, "abc")                                                                                            \
    X(txtShapeText2, "123")                                                                                            \
    X(txtCircled, "Circled")                                                                                           \
    X(txtEditing, "Editing %s")                                                                                        \
    X(txtFunctions, "Functions")                                                                                       \
    X(txtChangeSeriesTitle, "Change Series Title")                                                                     \
    X(txtNewSeriesTitle, "New Series Title:")                                                                          \
    X(txtDeleteSeries, "Delete %s ?")                                                                                  \
    X(txtDateTimeFormat, "DateTime For&mat:")                                                                          \
    X(txtValuesFormatLabel, "Values For&mat:")                                                                         \
    X(txtMaximum, "Maximum")                                                                                           \
    X(txtMinimum, "Minimum")                                                                                           \
    X(txtDesiredIncrement, "Desired %s Increment")                                                                     \
    X(txtIncorrectValue, "Incorrect value. Reason: %s")                                                                \
    X(txtEnterDateTime, "Enter [Number of Days] [hh:nn:ss]")                                                           \
    X(txtApplyChanges, "Apply Changes ?")                                                                              \
    X(txtSelectedSeries, "(Selected Series)")                                                                          \
    X(txtEditorWidth, "414")                                                                                           \
    X(txtEditorHeight, "347")                                                                                          \
    X(txtCopy, "Copy")                                                                                                 \
    X(txtNone, "(none)")                                                                                               \
    X(txtClear, "Clea&r")                                                                                              \
    X(txtBrowse, "B&rowse...")                                                                                         \
    X(txtTitle, "Title")                                                                                               \
    X(txtFooter, "Footer")                                                                                             \
    X(txtPeriodRange, "Period range")                                                                                  \
    X(txtSmallDots, "Small Dots")                                                                                      \
    X(txtCustom, "Custom ")                                                                                            \
    X(txtPageOf, "Page %d of %d")                                                                                      \
    X(txtFirst, "First")                                                                                               \
    X(txtPrior, "Prior")                                                                                               \
    X(txtNext, "Next")                                                                                                 \
    X(txtLast, "Last")                                                                                                 \
    X(txtInsert, "Insert")                                                                                             \
    X(txtDelete, "Delete")                                                                                             \
    X(txtEdit, "Edit")                                                                                                 \
    X(txtPost, "Post")                                                                                                 \
    X(txtCancel, "Cancel")                                                                                             \
    X(txtAddNewGroup, "Add new group")                                                                                 \
    X(txtChangeGroupName, "Change group name")                                                                         \
    X(txtGroupName, "Group name:")                                                                                     \
    X(txt2D, "2D")                                                                                                     \
    X(txtBytes, "%d bytes")                                                                                            \
    X(txtIndex, "Index")                                                                                               \
    X(txtAsBitmap, "as &Bitmap")                                                                                       \
    X(txtBitmapFilter, "Bitmaps (*.bmp)|*.bmp")                                                                        \
    X(txtAsMetafile, "as &Metafile")                                                                                   \
    X(txtMetafileFilter, "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf")                                   \
    X(txtPanelNotSet, "Panel property is not set in Export format")                                                    \
    X(txtNoTempFolder, "Can not find Temp folder")                                                                     \
    X(txtMapiError, "Can not email DezAvoze. Mapi Error: %d")                                                          \
    X(txtAsJPEG, "as &JPEG")                                                                                           \
    X(txtJPEGFilter, "JPEG files (*.jpg)|*.jpg")                                                                       \
    X(txtAsGIF, "as &GIF")                                                                                             \
    X(txtGIFFilter, "GIF files (*.gif)|*.gif")                                                                         \
    X(txtAsPNG, "as &PNG")                                                                                             \
    X(txtPNGFilter, "PNG files (*.png)|*.png")                                                                         \
    X(txtAsVML, "as &VML (HTM)")                                                                                       \
    X(txtVMLFilter, "VML files (*.htm)|*.htm")                                                                         \
    X(txtAsPDF, "as &PDF")                                                                                             \
    X(txtPDFFilter, "PDF files (*.pdf)|*.pdf")                                                                         \
    X(txtAll, "(all)")                                                                                                 \
    X(txtText, "Text")                                                                                                 \
    X(txtInvalidChartFile, "")                                                                                         \
    X(txtWrongFileFormat, "")                                                                                          \
    X(txtEmptyChartFile, "")                                                                                           \
    X(txtChartFileFilter, "")

enum class TPlotText : int {
#define CB_PLOT_TEXT_ID(id, value) id,
    CB_PLOT_TEXTS(CB_PLOT_TEXT_ID)
#undef CB_PLOT_TEXT_ID
    Count
};

// The extension of stored chart files ("dza"); the four composite texts are
// built from it when the texts are filled.
std::string& ChartFileExtension();

// The current value of a text (filled on first use).
const std::string& PlotText(TPlotText id);
void SetPlotText(TPlotText id, const std::string& value);
// Fills every text with its literal, the composite ones from the extension.
void LoadPlotTexts();
// "(*." + extension + ")|*." + extension.
std::string BuildChartFileFilter();

// The text with each "%s" and "%d" replaced, in order, by the arguments.
std::string FormatPlotText(const std::string& format, const std::vector<std::string>& args);
std::string FormatPlotText(TPlotText id, const std::vector<std::string>& args);

}  // namespace cb::chart

#pragma once
// Small controls of the editor dialogs: a button linked to a property of an
// object that draws a symbol through a chart canvas, the colour button, and
// a flat combo box; and the colour dialog behind them.
#include "chart/core/PlotTypes.h"

#include <QComboBox>
#include <QPushButton>

#include <functional>
#include <string>

namespace cb::chart {

class TPlotCanvas3D;

// The linked property: read and write access to a value of the object.
struct TPlotPropertyLink {
    std::function<TColor()> Get;
    std::function<void(TColor)> Set;
};

class TPlotButton : public QPushButton {
public:
    explicit TPlotButton(QWidget* parent = nullptr);
    // Links an object's property (empty link: none); repaints.
    void LinkProperty(void* instance, TPlotPropertyLink link);
    void* Instance() const { return FInstance; }
    const TPlotPropertyLink& Link() const { return FLink; }

protected:
    virtual void DrawSymbol(TPlotCanvas3D& canvas);
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void* FInstance = nullptr;
    TPlotPropertyLink FLink;
};

class TButtonColor : public TPlotButton {
public:
    explicit TButtonColor(QWidget* parent = nullptr);
    // The query event's answer, else the linked value, else clNone.
    TColor GetColor() const;
    std::function<TColor()> OnGetColor;

protected:
    void DrawSymbol(TPlotCanvas3D& canvas) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

class TComboFlat : public QComboBox {
public:
    explicit TComboFlat(QWidget* parent = nullptr);
    bool MouseInside() const { return FMouseInside; }

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool FMouseInside = false;
};

// The chosen colour, or color when the dialog is cancelled. Custom colours
// persist between uses.
TColor ShowColorDialog(QWidget* owner, TColor color);
// True when the colour changed.
bool EditColorWithDialog(QWidget* owner, TColor& color);

}  // namespace cb::chart

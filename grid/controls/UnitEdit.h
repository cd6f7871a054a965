#pragma once
// An edit with a button that opens a menu of measurement units; the unit
// chosen is shown beside the number.
#include "grid/controls/EditWithButton.h"

#include <string>
#include <vector>

class QMenu;

namespace cb::grid {

class TExtGridUnitEditBtn : public TExtGridEditBtn {
public:
    explicit TExtGridUnitEditBtn(QWidget* parent = nullptr);
    ~TExtGridUnitEditBtn() override;

    std::vector<std::string> Units;
    const std::string& UnitID() const { return FUnitID; }
    void SetUnitID(const std::string& value);
    int UnitSpace() const { return FUnitSpace; }
    void SetUnitSpace(int value);
    // The rectangle the unit is drawn in.
    QRect UnitRect() const;
    // The menu while it is open (null otherwise).
    QMenu* OpenMenu() const { return FMenu; }

    // Opens the unit menu; OnClickBtn does not fire.
    void FireButton(QObject* sender) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string FUnitID;
    QMenu* FMenu = nullptr;  // lives during FireButton only
};

}  // namespace cb::grid

#pragma once
// The graphic a cell may hold (check box, picture, progress bar, ...). The
// grid owns it and frees it with the cell's property object.
namespace cb::grid {

class TCellGraphic {
public:
    TCellGraphic() = default;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;
    virtual ~TCellGraphic() = default;
};

}  // namespace cb::grid

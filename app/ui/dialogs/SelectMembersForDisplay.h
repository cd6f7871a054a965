#pragma once
// The member selection window: the members of one dimension as a tree with
// check boxes. The caller hands it a dimension whose members carry their
// selected flags, shows it modally and, after OK, reads the flags the
// window wrote back from the ticks.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <string>

class QLabel;
class QPushButton;

namespace cb::extras {
class TKitTreeView;
class TKitTreeNode;
}  // namespace cb::extras

namespace cb::app {

class TDimension;
class TDimensionMember;
class TClickLabel;

class TfrmSelectMembersForDisplay : public TContentForm {
    Q_OBJECT
public:
    // The context shows the messages; the window is centred on the owner.
    explicit TfrmSelectMembersForDisplay(TAppContext context = {}, QWidget* owner = nullptr);
    ~TfrmSelectMembersForDisplay() override;

    // Not owned; must outlive the window's showing.
    void SetDimension(TDimension* dimension) { FDimension = dimension; }
    TDimension* Dimension() const { return FDimension; }
    void SetDimensionKey(const std::string& key) { FDimensionKey = key; }
    const std::string& DimensionKey() const { return FDimensionKey; }
    void ApplyTheme(const TTheme* theme) override;

    // Builds the tree once per opening; a dimension without members is
    // refused with a message and the result Cancel.
    int exec() override;
    void BuildTree();
    // Ticked nodes, the root not counted.
    int CountCheckedMembers() const;
    bool CanAccept();
    // Every node's tick into its member's selected flag.
    void WriteBack();
    // Ticks or unticks every node, the root included.
    void SetAllChecked(bool checked);
    // The member a node stands for (none for the measures' root).
    static TDimensionMember* NodeMember(const cb::extras::TKitTreeNode* node);

    QWidget* panTop;
    QLabel* lblMembers;
    TClickLabel* imgSelectAll;
    TClickLabel* imgUnselectAll;
    QLabel* lblInstructions;
    cb::extras::TKitTreeView* tvDimensionMembers;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    // Escape presses "Cancel".
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool RefuseEmptyDimension();
    void btnOKClick();

    TAppContext FContext;
    QWidget* FOwner;
    TDimension* FDimension = nullptr;
    std::string FDimensionKey;
    bool FTreeBuilt = false;
};

}  // namespace cb::app

#pragma once
// TKitCheckListBox: a list box with a check state and an enabled flag per
// item, drawn as a glyph left of the text (check boxes, radio buttons or
// check marks), toggled by mouse and keyboard and reported through
// OnStateChange and OnClickCheck; saved to and restored from a placement
// store through IniStorage.
#include "extras/KitListBox.h"
#include "extras/KitPlacement.h"
#include "platform/rtl/Streams.h"

namespace cb::extras {

enum TCheckKind {
    ckCheckBoxes,
    ckRadioButtons,
    ckCheckMarks
};

class TKitCheckListBox : public TKitCustomListBox {
    Q_OBJECT
public:
    using TChangeStateEvent = std::function<void(TKitCheckListBox& sender, int index)>;
    using TCheckNotifyEvent = std::function<void(TKitCheckListBox& sender)>;

    static constexpr int GlyphWidth = 16;
    static constexpr int GlyphHeight = 13;
    static constexpr int CheckWidth = GlyphWidth + 2;
    static constexpr int StreamVersion = 202;

    explicit TKitCheckListBox(QWidget* parent = nullptr);
    ~TKitCheckListBox() override;

    bool AllowGrayed() const { return FAllowGrayed && FCheckKind != ckRadioButtons; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    TCheckKind CheckKind() const { return FCheckKind; }
    void SetCheckKind(TCheckKind value);

    TCheckBoxState GetState(int index) const;
    void SetItemState(int index, TCheckBoxState state);
    bool GetChecked(int index) const;
    void SetChecked(int index, bool checked);
    bool GetItemEnabled(int index) const;
    void SetItemEnabled(int index, bool enabled);
    // Radio kind only: the checked item, or -1.
    int CheckedIndex() const;
    void SetCheckedIndex(int value);

    // Component loading: states set in between fire no events; Loaded runs
    // the radio check.
    void BeginLoading() { FLoading = true; }
    void Loaded();
    bool Loading() const { return FLoading; }

    // The stored form of the items: version, then per item text, state and
    // enabled flag. Reading understands the older record layouts.
    void WriteStrings(cb::rtl::TStream& stream) const;
    void ReadStrings(cb::rtl::TStream& stream);

    TKitFormPlacement* IniStorage() const { return FIniLink.Store(); }
    void SetIniStorage(TKitFormPlacement* store) { FIniLink.SetStore(store); }

    int GetItemHeight() override;

    TChangeStateEvent OnStateChange;
    TCheckNotifyEvent OnClickCheck;

protected:
    virtual void ClickCheck();
    virtual void StateChange(int index);
    void ToggleState(int index);
    void UpdateCheckStates();
    int GetItemWidth(int index) override;
    void DrawItem(cb::gfx::TCanvas& canvas, int index, cb::gfx::TRect rect, TOwnerDrawState state) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool KeepsItemStates() const override { return true; }

private:
    void checkItem(int index) const;
    void drawGlyph(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& area, int index);
    void iniSave();
    void iniLoad();
    std::string iniSection() const;

    bool FAllowGrayed = false;
    TCheckKind FCheckKind = ckCheckBoxes;
    bool FInUpdate = false;
    bool FLoading = false;
    TKitIniLink FIniLink;
};

}  // namespace cb::extras

#include "extras/KitCheckListBox.h"

#include "platform/gfx/StylePainter.h"
#include "platform/rtl/ScopeGuard.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace cb::extras {

using namespace cb::gfx;

TKitCheckListBox::TKitCheckListBox(QWidget* parent) : TKitCustomListBox(parent) {
    SetAutoScroll(true);
    FIniLink.OnSave = [this]() { iniSave(); };
    FIniLink.OnLoad = [this]() { iniLoad(); };
}

TKitCheckListBox::~TKitCheckListBox() = default;

void TKitCheckListBox::checkItem(int index) const {
    if (index < 0 || index >= int(FItems.size()))
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TKitCheckListBox::SetCheckKind(TCheckKind value) {
    if (value == FCheckKind) return;
    FCheckKind = value;
    UpdateCheckStates();
    viewport()->update();
}

TCheckBoxState TKitCheckListBox::GetState(int index) const {
    checkItem(index);
    const TCheckBoxState s = FItems[std::size_t(index)].state;
    if (FCheckKind == ckRadioButtons && s != cbChecked) return cbUnchecked;
    return s;
}

void TKitCheckListBox::SetItemState(int index, TCheckBoxState state) {
    checkItem(index);
    if (state < cbUnchecked || state > cbGrayed) state = cbUnchecked;
    if (state == GetState(index) && !FInUpdate) return;
    if (FCheckKind == ckRadioButtons && state == cbUnchecked && index == CheckedIndex()) return;
    FItems[std::size_t(index)].state = state;
    if (FCheckKind == ckRadioButtons && state == cbChecked)
        for (int i = int(FItems.size()) - 1; i >= 0; --i)
            if (i != index && GetState(i) == cbChecked) {
                FItems[std::size_t(i)].state = cbUnchecked;
                InvalidateItem(i);
            }
    InvalidateItem(index);
    if (!FLoading) StateChange(index);
}

bool TKitCheckListBox::GetChecked(int index) const {
    checkItem(index);
    return FItems[std::size_t(index)].state == cbChecked;
}

void TKitCheckListBox::SetChecked(int index, bool checked) {
    SetItemState(index, checked ? cbChecked : cbUnchecked);
}

bool TKitCheckListBox::GetItemEnabled(int index) const {
    checkItem(index);
    return FItems[std::size_t(index)].enabled;
}

void TKitCheckListBox::SetItemEnabled(int index, bool enabled) {
    checkItem(index);
    if (FItems[std::size_t(index)].enabled == enabled) return;
    FItems[std::size_t(index)].enabled = enabled;
    InvalidateItem(index);
}

int TKitCheckListBox::CheckedIndex() const {
    if (FCheckKind != ckRadioButtons) return -1;
    for (int i = 0; i < int(FItems.size()); ++i)
        if (GetState(i) == cbChecked) return i;
    return -1;
}

void TKitCheckListBox::SetCheckedIndex(int value) {
    if (FCheckKind != ckRadioButtons || FItems.empty()) return;
    SetItemState(std::min(std::max(value, 0), int(FItems.size()) - 1), cbChecked);
}

void TKitCheckListBox::UpdateCheckStates() {
    if (FCheckKind != ckRadioButtons || FItems.empty()) return;
    FInUpdate = true;
    const auto restore = cb::rtl::OnScopeExit([this] { FInUpdate = false; });
    SetItemState(std::max(CheckedIndex(), 0), cbChecked);
}

void TKitCheckListBox::Loaded() {
    FLoading = false;
    UpdateCheckStates();
}

void TKitCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(*this);
}

void TKitCheckListBox::StateChange(int index) {
    if (OnStateChange) OnStateChange(*this, index);
}

void TKitCheckListBox::ToggleState(int index) {
    if (index < 0 || index >= int(FItems.size()) || !GetItemEnabled(index)) return;
    switch (GetState(index)) {
    case cbUnchecked:
        SetItemState(index, AllowGrayed() ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetItemState(index, cbUnchecked);
        break;
    case cbGrayed:
        SetItemState(index, cbChecked);
        break;
    }
    ClickCheck();
}

int TKitCheckListBox::GetItemHeight() {
    if (Style() == lbStandard || (Style() == lbOwnerDrawFixed && !OnDrawItem)) {
        Canvas().Font().Assign(Font());
        int h = std::max(Canvas().TextHeight("Wg"), GlyphHeight);
        if (Style() == lbOwnerDrawFixed) h = std::max(h, ItemHeight());
        return h;
    }
    return TKitCustomListBox::GetItemHeight();
}

int TKitCheckListBox::GetItemWidth(int index) {
    return TKitCustomListBox::GetItemWidth(index) + CheckWidth;
}

void TKitCheckListBox::drawGlyph(TCanvas& c, const TRect& area, int index) {
    const bool enabled = FItems[std::size_t(index)].enabled;
    const TCheckBoxState state = GetState(index);
    c.Brush().SetColor(Color());
    c.FillRect(area);
    const TSize size = ThemedCheckBoxSize();
    const int w = std::min(size.cx, GlyphWidth), h = std::min(size.cy, GlyphHeight);
    const TRect g = Bounds(area.Left + (area.Width() - w) / 2, area.Top + (area.Height() - h) / 2, w, h);
    const TThemeState look = enabled ? TThemeState::Normal : TThemeState::Disabled;
    switch (FCheckKind) {
    case ckCheckBoxes:
        DrawThemedCheckBox(c, g,
                           state == cbChecked  ? TCheckState::Checked
                           : state == cbGrayed ? TCheckState::Mixed
                                               : TCheckState::Unchecked,
                           look);
        break;
    case ckRadioButtons:
        DrawThemedRadioButton(c, g, state == cbChecked, look);
        break;
    case ckCheckMarks:
        if (state != cbUnchecked) {
            c.Pen().SetWidth(2);
            c.Pen().SetColor(!enabled || state == cbGrayed ? clGrayText : clWindowText);
            c.MoveTo(g.Left + 2, g.Top + h / 2);
            c.LineTo(g.Left + w / 2 - 1, g.Bottom - 3);
            c.LineTo(g.Right - 2, g.Top + 2);
            c.Pen().SetWidth(1);
        }
        break;
    }
}

void TKitCheckListBox::DrawItem(TCanvas& c, int index, TRect rect, TOwnerDrawState state) {
    if (index >= 0 && index < int(FItems.size())) {
        const TRect area{rect.Left, rect.Top, rect.Left + CheckWidth, rect.Bottom};
        const TColor brush = c.Brush().Color();
        drawGlyph(c, area, index);
        c.Brush().SetColor(brush);
        rect.Left += CheckWidth;
        if (!FItems[std::size_t(index)].enabled)
            c.Font().SetColor(state & odSelected ? clInactiveCaptionText : clGrayText);
    }
    if (Style() == lbStandard && OnDrawItem) {
        // In the standard style an assigned OnDrawItem does not draw.
        auto saved = std::move(OnDrawItem);
        OnDrawItem = nullptr;
        TKitCustomListBox::DrawItem(c, index, rect, state);
        OnDrawItem = std::move(saved);
        return;
    }
    TKitCustomListBox::DrawItem(c, index, rect, state);
}

void TKitCheckListBox::mousePressEvent(QMouseEvent* e) {
    TKitCustomListBox::mousePressEvent(e);
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = e->position().toPoint();
    const int index = ItemAtPos({p.x(), p.y()}, true);
    if (index < 0) return;
    const TRect r = ItemRect(index);
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const bool inCheck =
        rtl ? p.x() > viewport()->width() - CheckWidth - 1 && p.x() < viewport()->width() : p.x() - r.Left < CheckWidth;
    if (inCheck) ToggleState(index);
}

void TKitCheckListBox::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (e->key() == Qt::Key_Space) {
        ToggleState(ItemIndex());
        e->accept();
        return;
    }
    if (t == "+" || t == "-") {
        if (FCheckKind != ckRadioButtons)
            for (int i = 0; i < int(FItems.size()); ++i)
                if (FItems[std::size_t(i)].enabled) SetItemState(i, t == "+" ? cbChecked : cbUnchecked);
        ClickCheck();
    }
    TKitCustomListBox::keyPressEvent(e);
}

// ---- stored form -----------------------------------------------------------

namespace {

void writeText(cb::rtl::TStream& s, const std::string& text) {
    s.WriteU32(std::uint32_t(text.size()));
    s.WriteBuffer(text);
}

std::string readText(cb::rtl::TStream& s) {
    const std::uint32_t n = s.ReadU32();
    if (n > s.Size() - s.Position()) throw cb::rtl::EReadError("Stream read error: item text longer than the data");
    return s.ReadString(n);
}

}  // namespace

void TKitCheckListBox::WriteStrings(cb::rtl::TStream& s) const {
    s.WriteI32(StreamVersion);
    s.WriteI32(int(FItems.size()));
    for (const auto& item : FItems) {
        writeText(s, item.text);
        s.WriteI32(item.state);
        s.WriteU8(item.enabled ? 1 : 0);
    }
}

void TKitCheckListBox::ReadStrings(cb::rtl::TStream& s) {
    const int version = s.ReadI32();
    const int count = s.ReadI32();
    if (count < 0 || count > s.Size() - s.Position()) throw cb::rtl::EReadError("Stream read error: bad item count");
    struct Rec {
        std::string text;
        int state;
        bool enabled;
    };
    std::vector<Rec> recs;
    for (int i = 0; i < count; ++i) {
        Rec r;
        r.text = readText(s);
        if (version >= StreamVersion) {
            r.state = s.ReadI32();
            r.enabled = s.ReadU8() != 0;
        } else {
            r.state = s.ReadU8() ? cbChecked : cbUnchecked;
            r.enabled = s.ReadU8() != 0;
            if (version >= 1) r.state = s.ReadI32();
        }
        recs.push_back(std::move(r));
    }
    // Read completely before anything changes.
    const bool loading = FLoading;
    FLoading = true;
    Items().BeginUpdate();
    Items().Clear();
    for (const Rec& r : recs) {
        const int i = Items().Add(r.text);
        FItems[std::size_t(i)].state =
            r.state >= cbUnchecked && r.state <= cbGrayed ? TCheckBoxState(r.state) : cbUnchecked;
        FItems[std::size_t(i)].enabled = r.enabled;
    }
    Items().EndUpdate();
    UpdateCheckStates();
    FLoading = loading;
}

// ---- INI store -------------------------------------------------------------

std::string TKitCheckListBox::iniSection() const {
    return FIniLink.RootSection() + DefaultSectionOf(this);
}

void TKitCheckListBox::iniSave() {
    TKitFormPlacement* store = FIniLink.Store();
    if (objectName().isEmpty() || !store || !store->OpenStore()) return;
    TKitIniStore& ini = *store->OpenStore();
    const std::string section = iniSection();
    StoreEraseSection(ini, section);
    StoreWriteNumber(ini, section, "Count", int(FItems.size()));
    for (int i = 0; i < int(FItems.size()); ++i)
        StoreWriteNumber(ini, section, "Item" + std::to_string(i), GetState(i));
}

void TKitCheckListBox::iniLoad() {
    TKitFormPlacement* store = FIniLink.Store();
    if (objectName().isEmpty() || !store || !store->OpenStore()) return;
    const TKitIniStore& ini = *store->OpenStore();
    const std::string section = iniSection();
    const int count = std::min(StoreReadNumber(ini, section, "Count", 0), int(FItems.size()));
    for (int i = 0; i < count; ++i) {
        const int state = StoreReadNumber(ini, section, "Item" + std::to_string(i), 0);
        SetItemState(i, state >= cbUnchecked && state <= cbGrayed ? TCheckBoxState(state) : cbUnchecked);
        if (FCheckKind == ckRadioButtons && GetState(i) == cbChecked) break;
    }
}

}  // namespace cb::extras

#include "extras/KitCheckListBox.h"

#include "platform/os/RegistryStore.h"
#include "tests/common/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace cb::extras;

namespace {

struct Fixture {
    TKitCheckListBox box;
    std::vector<int> changes;
    int clickChecks = 0;
    explicit Fixture(int count, TCheckKind kind = ckCheckBoxes) {
        box.resize(200, 150);
        box.SetCheckKind(kind);
        for (int i = 0; i < count; ++i) box.Items().Add("Item " + std::to_string(i));
        box.OnStateChange = [this](TKitCheckListBox&, int i) { changes.push_back(i); };
        box.OnClickCheck = [this](TKitCheckListBox&) { ++clickChecks; };
        box.show();
    }
    QPoint glyph(int index) const {
        const auto r = box.ItemRect(index);
        return {r.Left + 5, r.Top + r.Height() / 2};
    }
    QPoint text(int index) const {
        const auto r = box.ItemRect(index);
        return {r.Left + 40, r.Top + r.Height() / 2};
    }
    std::vector<int> states() const {
        std::vector<int> s;
        for (int i = 0; i < box.Items().Count(); ++i) s.push_back(box.GetState(i));
        return s;
    }
};

TEST(CheckListBox, SetCheckedFiresOnlyOnChange) {
    Fixture f(3);
    f.box.SetChecked(1, true);
    f.box.SetChecked(1, true);
    f.box.SetChecked(1, false);
    f.box.SetChecked(2, false);
    EXPECT_EQ(f.changes, (std::vector<int>{1, 1}));
    f.box.BeginLoading();
    f.box.SetChecked(0, true);
    f.box.Loaded();
    EXPECT_EQ(f.changes.size(), 2u);
    EXPECT_TRUE(f.box.GetChecked(0));
    EXPECT_THROW(f.box.SetChecked(3, true), EStringListError);
    EXPECT_THROW(f.box.GetChecked(-1), EStringListError);
    EXPECT_EQ(f.clickChecks, 0);
}

TEST(CheckListBox, ClickCycleOnTheGlyph) {
    struct Case {
        bool allowGrayed;
        TCheckKind kind;
        std::vector<int> cycle;  // states after successive glyph clicks
    } cases[] = {
        {false, ckCheckBoxes, {1, 0, 1}},
        {true, ckCheckBoxes, {2, 1, 0, 2}},
        {true, ckCheckMarks, {2, 1, 0}},
        {true, ckRadioButtons, {1, 1}},  // a single radio item stays checked
    };
    for (const Case& c : cases) {
        Fixture f(1, c.kind);
        f.box.SetAllowGrayed(c.allowGrayed);
        EXPECT_EQ(f.box.AllowGrayed(), c.allowGrayed && c.kind != ckRadioButtons);
        f.box.Loaded();
        if (c.kind == ckRadioButtons)
            EXPECT_EQ(f.box.GetState(0), cbChecked);
        else
            EXPECT_EQ(f.box.GetState(0), cbUnchecked);
        for (std::size_t k = 0; k < c.cycle.size(); ++k) {
            QTest::mouseClick(f.box.viewport(), Qt::LeftButton, {}, f.glyph(0));
            EXPECT_EQ(f.box.GetState(0), c.cycle[k]) << int(c.kind) << " click " << k;
        }
        EXPECT_EQ(f.clickChecks, int(c.cycle.size()));
    }
}

TEST(CheckListBox, TextClicksAndDisabledItemsDoNotToggle) {
    Fixture f(2);
    QTest::mouseClick(f.box.viewport(), Qt::LeftButton, {}, f.text(0));
    EXPECT_EQ(f.box.ItemIndex(), 0);
    EXPECT_FALSE(f.box.GetChecked(0));
    f.box.SetItemEnabled(1, false);
    QTest::mouseClick(f.box.viewport(), Qt::LeftButton, {}, f.glyph(1));
    EXPECT_FALSE(f.box.GetChecked(1));
    EXPECT_EQ(f.clickChecks, 0);
    EXPECT_TRUE(f.changes.empty());
}

TEST(CheckListBox, RadioRules) {
    Fixture f(3, ckRadioButtons);
    EXPECT_EQ(f.box.CheckedIndex(), -1);
    f.box.Loaded();
    EXPECT_EQ(f.states(), (std::vector<int>{1, 0, 0}));
    f.changes.clear();
    f.box.SetChecked(2, true);
    EXPECT_EQ(f.states(), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(f.changes, (std::vector<int>{2}));
    f.box.SetChecked(2, false);  // the checked radio item stays checked
    EXPECT_EQ(f.box.CheckedIndex(), 2);
    QTest::mouseClick(f.box.viewport(), Qt::LeftButton, {}, f.glyph(2));
    EXPECT_EQ(f.box.CheckedIndex(), 2);
    EXPECT_EQ(f.clickChecks, 1);
    f.box.SetCheckedIndex(-5);
    EXPECT_EQ(f.box.CheckedIndex(), 0);
    f.box.SetItemState(1, cbGrayed);
    EXPECT_EQ(f.box.GetState(1), cbUnchecked);  // grayed reads unchecked for radios

    Fixture empty(0, ckRadioButtons);
    empty.box.SetCheckedIndex(0);
    EXPECT_EQ(empty.box.CheckedIndex(), -1);
}

TEST(CheckListBox, KeyboardTogglesAndSetsAll) {
    Fixture f(3);
    f.box.setFocus();
    QTest::keyClick(&f.box, Qt::Key_Down);
    QTest::keyClick(&f.box, Qt::Key_Down);
    EXPECT_EQ(f.box.ItemIndex(), 1);
    QTest::keyClick(&f.box, Qt::Key_Space);
    EXPECT_EQ(f.states(), (std::vector<int>{0, 1, 0}));
    f.box.SetItemEnabled(2, false);
    QTest::keyClick(&f.box, '+');
    EXPECT_EQ(f.states(), (std::vector<int>{1, 1, 0}));
    QTest::keyClick(&f.box, '-');
    EXPECT_EQ(f.states(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(f.clickChecks, 3);
}

TEST(CheckListBox, StoredFormRoundTripsAndReadsOldRecords) {
    Fixture f(3);
    f.box.SetItemState(0, cbGrayed);
    f.box.SetChecked(2, true);
    f.box.SetItemEnabled(1, false);
    cb::rtl::TMemoryStream s;
    f.box.WriteStrings(s);
    s.SetPosition(0);
    Fixture g(0);
    g.box.ReadStrings(s);
    EXPECT_EQ(g.box.Items().ToStringList().ToVector(), f.box.Items().ToStringList().ToVector());
    EXPECT_EQ(g.states(), (std::vector<int>{2, 0, 1}));
    EXPECT_FALSE(g.box.GetItemEnabled(1));
    EXPECT_TRUE(g.changes.empty());

    // Version 0: text, checked flag, enabled flag.
    cb::rtl::TMemoryStream old;
    old.WriteI32(0);
    old.WriteI32(2);
    for (auto [text, checked, enabled] : {std::tuple{"a", 1, 0}, std::tuple{"b", 0, 1}}) {
        old.WriteU32(1);
        old.WriteBuffer(std::string_view(text));
        old.WriteU8(std::uint8_t(checked));
        old.WriteU8(std::uint8_t(enabled));
    }
    old.SetPosition(0);
    g.box.ReadStrings(old);
    EXPECT_EQ(g.states(), (std::vector<int>{1, 0}));
    EXPECT_FALSE(g.box.GetItemEnabled(0));
    EXPECT_TRUE(g.box.GetItemEnabled(1));

    cb::rtl::TMemoryStream bad;
    bad.WriteI32(202);
    bad.WriteI32(1000000);
    bad.SetPosition(0);
    EXPECT_ANY_THROW(g.box.ReadStrings(bad));
    EXPECT_EQ(g.box.Items().Count(), 2);
}

TEST(CheckListBox, StatesTravelWithSortingAndItemMoves) {
    Fixture f(0);
    for (const char* s : {"pear", "Apple", "fig"}) f.box.Items().Add(s);
    f.box.SetChecked(0, true);
    f.box.SetSorted(true);
    EXPECT_EQ(f.box.Items()[2], "pear");
    EXPECT_TRUE(f.box.GetChecked(2));
    f.box.Items().Add("banana");
    EXPECT_EQ(f.box.Items()[1], "banana");
    EXPECT_EQ(f.box.HorizontalExtent() > TKitCheckListBox::CheckWidth, true);
}

TEST(CheckListBox, AssigningItemsOfAnotherBoxCopiesStates) {
    Fixture f(3);
    f.box.SetItemState(0, cbGrayed);
    f.box.SetChecked(2, true);
    f.box.SetItemEnabled(1, false);
    Fixture g(1);
    g.box.SetChecked(0, true);
    g.changes.clear();
    g.box.SetItems(f.box.Items());
    EXPECT_EQ(g.states(), (std::vector<int>{2, 0, 1}));
    EXPECT_FALSE(g.box.GetItemEnabled(1));
    EXPECT_TRUE(g.box.GetItemEnabled(2));
    EXPECT_TRUE(g.changes.empty());
    // A plain list box's items bring no states.
    TKitCustomListBox plain;
    plain.Items().Add("x");
    plain.Items().Add("y");
    g.box.SetItems(plain.Items());
    EXPECT_EQ(g.states(), (std::vector<int>{0, 0}));
    EXPECT_TRUE(g.box.GetItemEnabled(0));
    // Sorted: each state stays with its string.
    Fixture h(0);
    h.box.SetSorted(true);
    h.box.SetItems(f.box.Items());
    EXPECT_EQ(h.box.Items()[0], "Item 0");
    f.box.Items().Exchange(0, 2);  // Item 2 (checked) first
    h.box.SetItems(f.box.Items());
    EXPECT_EQ(h.states(), (std::vector<int>{2, 0, 1}));
}

TEST(CheckListBox, IniStorageSavesAndRestoresStates) {
    cbtest::TempDir dir;
    cb::os::TRegistryStore::SetRootPath(dir.path().string());
    const std::string ini = dir.file("states.ini");
    {
        QWidget form;
        auto* p = new TKitFormPlacement(&form);
        p->SetIniFileName(ini);
        auto* box = new TKitCheckListBox(&form);
        box->setObjectName("cblMeasures");
        for (const char* s : {"a", "b", "c"}) box->Items().Add(s);
        box->SetIniStorage(p);
        form.show();
        box->SetItemState(1, cbChecked);
        box->SetItemState(2, cbGrayed);
        form.close();
    }
    cb::rtl::TMemIniFile check(ini);
    EXPECT_EQ(check.ReadInteger("QWidgetcblMeasures", "Count", -1), 3);
    EXPECT_EQ(check.ReadInteger("QWidgetcblMeasures", "Item2", -1), 2);
    {
        QWidget form;
        auto* p = new TKitFormPlacement(&form);
        p->SetIniFileName(ini);
        auto* box = new TKitCheckListBox(&form);
        box->setObjectName("cblMeasures");
        for (const char* s : {"a", "b"}) box->Items().Add(s);
        box->SetIniStorage(p);
        form.show();
        EXPECT_EQ(box->GetState(0), cbUnchecked);
        EXPECT_EQ(box->GetState(1), cbChecked);
    }
    cb::os::TRegistryStore::SetRootPath("");
}

}  // namespace

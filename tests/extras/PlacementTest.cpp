#include "extras/KitPlacement.h"
#include "extras/KitWindowHook.h"

#include "platform/os/RegistryStore.h"
#include "tests/common/TestSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

using namespace cb::extras;

namespace {

class Placement : public ::testing::Test {
protected:
    void SetUp() override { cb::os::TRegistryStore::SetRootPath(dir.path().string()); }
    void TearDown() override { cb::os::TRegistryStore::SetRootPath(""); }
    cbtest::TempDir dir;
};

TEST_F(Placement, StoredOnCloseAndRestoredOnShowInTheRegistry) {
    {
        QWidget form;
        auto* p = new TKitFormPlacement(&form);
        p->SetUseRegistry(true);
        p->SetIniFileName("Software\\Test\\Placement");
        p->SetIniSection("Main");
        form.show();
        form.move(40, 50);
        form.resize(310, 220);
        form.close();
        EXPECT_TRUE(p->Saved());
    }
    cb::os::TRegistryIniFile reg("Software\\Test\\Placement");
    EXPECT_EQ(reg.ReadString("Main", "NormPos", ""), "40,50,350,270");
    EXPECT_EQ(reg.ReadString("Main", "NormPos" + ScreenSizeTag(), ""), "40,50,350,270");
    EXPECT_EQ(reg.ReadInteger("Main", "ShowCmd", -1), 1);
    EXPECT_EQ(reg.ReadInteger("Main", "FormVersion", -1), 0);

    QWidget again;
    auto* p = new TKitFormPlacement(&again);
    p->SetUseRegistry(true);
    p->SetIniFileName("Software\\Test\\Placement");
    p->SetIniSection("Main");
    again.show();
    EXPECT_TRUE(p->Restored());
    EXPECT_EQ(again.pos(), QPoint(40, 50));
    EXPECT_EQ(again.size(), QSize(310, 220));
}

TEST_F(Placement, PositionRulesOfTheRecord) {
    const std::string tag = ScreenSizeTag();
    struct Case {
        const char* name;
        std::string text;
        QRect expected;
    } cases[] = {
        {"untagged fallback", "[F]\nNormPos(1x1)=1,2,3,4\nNormPos=10,20,110,220\n", QRect(10, 20, 100, 200)},
        {"tag first", "[F]\nNormPos" + tag + "=5,6,55,66\nNormPos=10,20,110,220\n", QRect(5, 6, 50, 60)},
        {"commas and blanks", "[F]\nNormPos= 10 , 20  110,,220\n", QRect(10, 20, 100, 200)},
        {"other dpi", "[F]\nPixelsPerInch=7\nNormPos=10,20,110,220\n", QRect(300, 300, 80, 60)},
        {"empty rect", "[F]\nNormPos=10,20,10,220\n", QRect(300, 300, 80, 60)},
        {"nothing stored", "[F]\nShowCmd=1\n", QRect(300, 300, 80, 60)},
        {"huge numbers", "[F]\nNormPos=-2147483648,0,2147483647,-2147483648\n",
         QRect(-2147483647 - 1, 0, QWIDGETSIZE_MAX, 1)},
    };
    for (const Case& c : cases) {
        QWidget form;
        form.move(300, 300);
        form.resize(80, 60);
        TKitIniStore store(std::make_unique<cb::rtl::TMemIniFile>(dir.file("p.ini")));
        store.IniFile()->SetText(c.text);
        LoadFormPlacement(&form, store, "F", false, true);
        EXPECT_EQ(QRect(form.pos(), form.size()), c.expected) << c.name;
    }
}

TEST_F(Placement, OlderVersionRestoresNothingButCountsAsRestored) {
    const std::string ini = dir.file("forms.ini");
    cbtest::writeFile(ini, "[Main]\nFormVersion=1\nNormPos=10,20,110,220\n");
    QWidget form;
    form.move(300, 300);
    auto* p = new TKitFormPlacement(&form);
    p->SetIniFileName(ini);
    p->SetIniSection("Main");
    p->SetVersion(2);
    int restoredEvents = 0;
    p->OnRestorePlacement = [&](TKitFormPlacement&) { ++restoredEvents; };
    form.show();
    EXPECT_EQ(form.pos(), QPoint(300, 300));
    EXPECT_EQ(restoredEvents, 0);
    EXPECT_TRUE(p->Restored());
    form.close();
    cb::rtl::TMemIniFile check(ini);
    EXPECT_EQ(check.ReadInteger("Main", "FormVersion", 0), 2);
}

TEST_F(Placement, QuotedTextsReadBackUnchanged) {
    TKitIniStore store(std::make_unique<cb::rtl::TMemIniFile>(dir.file("q.ini")));
    for (const std::string v : {"\"quoted\"", "'single'", "plain", "\"half", ""}) {
        StoreWriteText(store, "S", "K", v);
        EXPECT_EQ(StoreReadText(store, "S", "K", "default"), v);
    }
    EXPECT_EQ(StoreReadText(store, "S", "Missing", "default"), "default");
}

TEST(PlacementHelpers, NthWord) {
    struct {
        int n;
        const char* text;
        int pos;
        const char* word;
    } cases[] = {{1, "10,20,30", 1, "10"},
                 {3, " 10 , 20  30", 11, "30"},
                 {4, "1,2,3", 0, ""},
                 {1, ",,,", 0, ""},
                 {0, "a", 0, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(NthWordPosition(c.n, c.text, " ,"), c.pos) << c.text;
        EXPECT_EQ(NthWord(c.n, c.text, " ,"), c.word) << c.text;
    }
}

TEST(PlacementHelpers, DefaultSectionNames) {
    QWidget form;
    auto* child = new QWidget(&form);
    child->setObjectName("cblMeasures");
    QObject component(&form);
    component.setObjectName("fp");
    QWidget parentless;
    parentless.setObjectName("alone");
    EXPECT_EQ(DefaultSectionOf(&form), "QWidget");
    EXPECT_EQ(DefaultSectionOf(child), "QWidgetcblMeasures");
    EXPECT_EQ(DefaultSectionOf(&component), "QWidget.fp");
    EXPECT_EQ(DefaultSectionOf(nullptr), "");
    EXPECT_EQ(DefaultIniFileName().substr(DefaultIniFileName().size() - 4), ".INI");
}

TEST_F(Placement, PreventResizeFixesTheSize) {
    QWidget form;
    form.resize(200, 150);
    TKitFormPlacement p(&form);
    p.SetPreventResize(true);
    form.resize(400, 300);
    EXPECT_EQ(form.size(), QSize(200, 150));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    p.SetPreventResize(false);
    form.resize(400, 300);
    EXPECT_EQ(form.size(), QSize(400, 300));
    TKitWinMinMaxInfo limits;
    limits.MinTrackWidth = 250;
    p.SetMinMaxInfo(limits);
    form.resize(100, 100);
    EXPECT_EQ(form.size(), QSize(250, 100));
}

TEST(WindowHook, BeforeAndAfterHandlersInOrder) {
    QWidget w;
    std::vector<std::string> seen;
    auto& hooks = TKitWndProcHook::Instance();
    int keyA = 0, keyB = 0;
    ASSERT_TRUE(hooks.AddHandler(&w, TKitWndProcHook::Before, &keyA, [&](QObject*, QEvent* e) {
        if (e->type() == QEvent::User) seen.push_back("before");
        return false;
    }));
    ASSERT_TRUE(hooks.AddHandler(&w, TKitWndProcHook::After, &keyB, [&](QObject*, QEvent* e) {
        if (e->type() == QEvent::User) seen.push_back("after");
        return false;
    }));
    EXPECT_FALSE(hooks.AddHandler(nullptr, TKitWndProcHook::Before, &keyA, [](QObject*, QEvent*) { return false; }));
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&w, &user);
    EXPECT_EQ(seen, (std::vector<std::string>{"before", "after"}));

    // A handled "before" keeps the event from the object and the "after" list.
    TKitWindowHook hook;
    hook.SetControl(&w);
    hook.SetBeforeMessage([&](TKitWindowHook&, QEvent* e, bool& handled) { handled = e->type() == QEvent::User; });
    seen.clear();
    QCoreApplication::sendEvent(&w, &user);
    EXPECT_EQ(seen, (std::vector<std::string>{"before"}));
    hook.SetActive(false);
    EXPECT_TRUE(hooks.RemoveHandler(&w, TKitWndProcHook::Before, &keyA));
    EXPECT_TRUE(hooks.RemoveHandler(&w, TKitWndProcHook::After, &keyB));
    EXPECT_FALSE(hooks.IsHooked(&w));

    // A handler removed during the dispatch (its hook freed) is not called.
    auto* doomed = new TKitWindowHook;
    doomed->SetControl(&w);
    bool doomedCalled = false;
    doomed->SetAfterMessage([&](TKitWindowHook&, QEvent*, bool&) { doomedCalled = true; });
    ASSERT_TRUE(hooks.AddHandler(&w, TKitWndProcHook::Before, &keyA, [&](QObject*, QEvent* e) {
        if (e->type() == QEvent::User) {
            delete doomed;
            doomed = nullptr;
        }
        return false;
    }));
    QCoreApplication::sendEvent(&w, &user);
    EXPECT_FALSE(doomedCalled);
    EXPECT_TRUE(hooks.RemoveHandler(&w, TKitWndProcHook::Before, &keyA));
}

}  // namespace

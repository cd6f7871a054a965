#include "extras/KitPlacement.h"

#include "extras/KitWindowHook.h"
#include "platform/os/Files.h"
#include "platform/rtl/ErrorLog.h"
#include "platform/rtl/Property.h"
#include "platform/rtl/Strings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace cb::extras {

using cb::rtl::TCustomIniFile;

namespace {

bool quoted(const std::string& v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

int screenDpi() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? int(std::lround(s->logicalDotsPerInch())) : 96;
}

std::string className(const QObject* o) {
    std::string name = o->metaObject()->className();
    const auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

std::string name(const QObject* o) {
    return o ? o->objectName().toStdString() : std::string();
}

enum {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3
};

}  // namespace

// ---- store access ----------------------------------------------------------

std::string StoreReadText(const TKitIniStore& store, const std::string& section, const std::string& ident,
                          const std::string& def) {
    if (auto* reg = store.Registry()) return reg->ReadString(section, ident, def);
    if (auto* ini = store.IniFile()) {
        if (!ini->ValueExists(section, ident)) return def;
        std::string v = ini->ReadString(section, ident, def);
        if (quoted(v)) v = v.substr(1, v.size() - 2);
        return v;
    }
    return def;
}

void StoreWriteText(TKitIniStore& store, const std::string& section, const std::string& ident,
                    const std::string& value) {
    if (auto* reg = store.Registry())
        reg->WriteString(section, ident, value);
    else if (auto* ini = store.IniFile())
        ini->WriteString(section, ident, quoted(value) ? "\"" + value + "\"" : value);
}

int StoreReadNumber(const TKitIniStore& store, const std::string& section, const std::string& ident, int def) {
    if (auto* reg = store.Registry()) return reg->ReadInteger(section, ident, def);
    if (auto* ini = store.IniFile()) return ini->ReadInteger(section, ident, def);
    return def;
}

void StoreWriteNumber(TKitIniStore& store, const std::string& section, const std::string& ident, int value) {
    if (auto* reg = store.Registry())
        reg->WriteInteger(section, ident, value);
    else if (auto* ini = store.IniFile())
        ini->WriteInteger(section, ident, value);
}

void StoreEraseSection(TKitIniStore& store, const std::string& section) {
    if (auto* reg = store.Registry())
        reg->EraseSection(section);
    else if (auto* ini = store.IniFile())
        ini->EraseSection(section);
}

std::string ScreenSizeTag() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const QSize size = s ? s->size() : QSize(0, 0);
    return "(" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ")";
}

std::string ReadTaggedText(const TKitIniStore& store, const std::string& section, const std::string& ident) {
    std::string v = StoreReadText(store, section, ident + ScreenSizeTag(), "");
    if (v.empty()) v = StoreReadText(store, section, ident, "");
    return v;
}

void WriteTaggedText(TKitIniStore& store, const std::string& section, const std::string& ident,
                     const std::string& value) {
    StoreWriteText(store, section, ident + ScreenSizeTag(), value);
    StoreWriteText(store, section, ident, value);
}

int NthWordPosition(int n, const std::string& text, const std::string& delimiters) {
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && delimiters.find(text[i]) != std::string::npos) ++i;
        if (i >= text.size()) break;
        if (++count == n) return int(i) + 1;
        while (i < text.size() && delimiters.find(text[i]) == std::string::npos) ++i;
    }
    return 0;
}

std::string NthWord(int n, const std::string& text, const std::string& delimiters) {
    const int pos = NthWordPosition(n, text, delimiters);
    if (pos == 0) return {};
    std::size_t end = std::size_t(pos - 1);
    while (end < text.size() && delimiters.find(text[end]) == std::string::npos) ++end;
    return text.substr(std::size_t(pos - 1), end - std::size_t(pos - 1));
}

std::string DefaultSectionOf(const QObject* component) {
    if (!component) return {};
    if (const auto* w = qobject_cast<const QWidget*>(component)) {
        if (w->isWindow()) return className(w);
        if (const QWidget* form = w->window(); form && form != w) return className(form) + name(w);
        return name(w->parentWidget()) + name(w);
    }
    if (const auto* owner = qobject_cast<const QWidget*>(component->parent()); owner && owner->isWindow())
        return className(owner) + "." + name(component);
    return name(component);
}

std::string DefaultIniFileName() {
    return cb::rtl::ChangeFileExt(cb::rtl::ExtractFileName(cb::os::GetApplicationFileName()), ".INI");
}

std::string DefaultRegistryKey() {
    return "Software\\" + cb::rtl::ChangeFileExt(cb::rtl::ExtractFileName(cb::os::GetApplicationFileName()), "");
}

// ---- placement record ------------------------------------------------------

void StoreFormPlacement(QWidget* form, TKitIniStore& store, const std::string& section) {
    if (!form) return;
    const Qt::WindowStates state = form->windowState();
    int show = SW_SHOWNORMAL;
    if (state & Qt::WindowMinimized)
        show = SW_SHOWMINIMIZED;
    else if (state & Qt::WindowMaximized)
        show = SW_SHOWMAXIMIZED;
    QRect normal(form->pos(), form->size());
    if (state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const QRect g = form->normalGeometry();
        if (g.isValid()) normal = QRect(g.topLeft() - (form->geometry().topLeft() - form->pos()), g.size());
    }
    StoreWriteNumber(store, section, "Flags", 0);
    StoreWriteNumber(store, section, "ShowCmd", show);
    StoreWriteNumber(store, section, "PixelsPerInch", screenDpi());
    WriteTaggedText(store, section, "MinMaxPos", "-1,-1,-1,-1");
    WriteTaggedText(store, section, "NormPos",
                    std::to_string(normal.left()) + "," + std::to_string(normal.top()) + "," +
                        std::to_string(normal.left() + normal.width()) + "," +
                        std::to_string(normal.top() + normal.height()));
}

void LoadFormPlacement(QWidget* form, const TKitIniStore& store, const std::string& section, bool loadState,
                       bool loadPosition) {
    if (!form || (!loadState && !loadPosition)) return;
    if (loadPosition) {
        const std::string delims = " ,";
        const std::string minMax = ReadTaggedText(store, section, "MinMaxPos");
        const std::string norm = ReadTaggedText(store, section, "NormPos");
        if ((!minMax.empty() || !norm.empty()) &&
            StoreReadNumber(store, section, "PixelsPerInch", screenDpi()) == screenDpi()) {
            const int defaults[4] = {form->x(), form->y(), form->x() + form->width(), form->y() + form->height()};
            int r[4];
            for (int i = 0; i < 4; ++i) r[i] = cb::rtl::StrToIntDef(NthWord(i + 1, norm, delims), defaults[i]);
            // Stored numbers are untrusted: sizes are worked out wide and
            // kept within what a window can be.
            long long width = (long long)r[2] - r[0], height = (long long)r[3] - r[1];
            if (form->minimumSize() == form->maximumSize()) {  // not sizeable: keep the size
                width = form->width();
                height = form->height();
            }
            if (width > 0) {
                form->move(r[0], r[1]);
                form->resize(int(std::clamp<long long>(width, 1, QWIDGETSIZE_MAX)),
                             int(std::clamp<long long>(height, 1, QWIDGETSIZE_MAX)));
            }
        }
    }
    if (loadState) {
        Qt::WindowStates state = form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        switch (StoreReadNumber(store, section, "ShowCmd", 0)) {
        case 1:
        case 5:
        case 9:
            break;
        case 2:
        case 6:
        case 7:
            state |= Qt::WindowMinimized;
            break;
        case 3:
            state |= Qt::WindowMaximized;
            break;
        default:
            state = form->windowState();
            break;
        }
        form->setWindowState(state);
    }
}

// ---- links -----------------------------------------------------------------

TKitIniLink::~TKitIniLink() {
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStore(nullptr);
}

void TKitIniLink::SetStore(TKitFormPlacement* store) {
    if (store == FStore) return;
    if (FStore) std::erase(FStore->FLinks, this);
    FStore = store;
    if (FStore) FStore->FLinks.push_back(this);
}

std::string TKitIniLink::RootSection() const {
    if (!FStore || FStore->IniSection().empty()) return {};
    return FStore->IniSection() + "\\";
}

// ---- placement component ---------------------------------------------------

TKitFormPlacement::TKitFormPlacement(QWidget* form) : QObject(form), FForm(form) {
    if (!form) throw cb::rtl::Exception("A form placement needs a form");
    if (!form->isWindow()) FOptions = 0;
    FHook = std::make_unique<TKitWindowHook>();
    FHook->SetControl(form);
    FHook->SetBeforeMessage([this](TKitWindowHook&, QEvent* e, bool& handled) { handled = formEvent(e, false); });
    FHook->SetAfterMessage([this](TKitWindowHook&, QEvent* e, bool& handled) { handled = formEvent(e, true); });
}

TKitFormPlacement::~TKitFormPlacement() {
    FHook.reset();
    if (FForm && FActive && !FSaved) {
        FDestroying = true;
        try {
            Save();
        } catch (...) {
            // a failed save must not stop the form from going
            cb::rtl::LogCurrentException("Saving the window's placement");
        }
        FDestroying = false;
    }
    FStore.reset();
    for (TKitIniLink* link : std::vector<TKitIniLink*>(FLinks)) link->SetStore(nullptr);
}

bool TKitFormPlacement::formEvent(QEvent* e, bool after) {
    if (!after && e->type() == QEvent::Show && FActive && !e->spontaneous()) {
        try {
            Restore();
        } catch (const std::exception&) {
            // a damaged store leaves the form where it is
        }
    } else if (after && e->type() == QEvent::Close && e->isAccepted() && FActive) {
        try {
            Save();
        } catch (const std::exception&) {}
    }
    return false;
}

std::string TKitFormPlacement::section() const {
    return FIniSection.empty() ? DefaultSectionOf(FForm) : FIniSection;
}

std::unique_ptr<TKitIniStore> TKitFormPlacement::openStore(bool) const {
    if (FUseRegistry)
        return std::make_unique<TKitIniStore>(std::make_unique<cb::os::TRegistryIniFile>(
            FIniFileName.empty() ? DefaultRegistryKey() : FIniFileName, FRegistryRoot));
    std::string file = FIniFileName.empty() ? DefaultIniFileName() : FIniFileName;
    if (cb::rtl::ExtractFilePath(file).empty())
        file = cb::rtl::IncludeTrailingPathDelimiter(cb::os::GetApplicationPath()) + file;
    return std::make_unique<TKitIniStore>(std::make_unique<cb::rtl::TMemIniFile>(file));
}

namespace {
// Keeps the store open for one pass and writes an INI file when done.
struct StorePass {
    std::unique_ptr<TKitIniStore>& slot;
    bool owner;
    bool writing;
    StorePass(std::unique_ptr<TKitIniStore>& s, std::unique_ptr<TKitIniStore> opened, bool w)
        : slot(s), owner(!s), writing(w) {
        if (owner) slot = std::move(opened);
    }
    void commit() {
        if (owner && writing && slot && slot->IniFile()) slot->IniFile()->UpdateFile();
    }
    ~StorePass() {
        if (owner) slot.reset();
    }
};
}  // namespace

void TKitFormPlacement::Save() {
    if (FActive && !FRestored) return;
    StorePass pass(FStore, FStore ? nullptr : openStore(true), true);
    StoreWriteNumber(*FStore, section(), "FormVersion", FVersion);
    WritePlacement();
    if (OnSavePlacement) OnSavePlacement(*this);
    FSaved = true;
    pass.commit();
}

void TKitFormPlacement::WritePlacement() {
    if (!FForm) return;
    if (FOptions & (fpState | fpPosition)) {
        StoreFormPlacement(FForm, *FStore, section());
        StoreWriteNumber(*FStore, section(), "Visible", FDestroying ? 1 : 0);
    }
    if (FOptions & fpActiveControl) {
        if (QWidget* focus = FForm->focusWidget(); focus && !focus->objectName().isEmpty())
            StoreWriteText(*FStore, section(), "ActiveControl", name(focus));
    }
    for (TKitIniLink* link : std::vector<TKitIniLink*>(FLinks)) link->NotifySave();
}

void TKitFormPlacement::Restore() {
    FSaved = false;
    {
        StorePass pass(FStore, FStore ? nullptr : openStore(false), false);
        if (StoreReadNumber(*FStore, section(), "FormVersion", 0) >= FVersion) {
            ReadPlacement();
            FRestored = true;
            if (OnRestorePlacement) OnRestorePlacement(*this);
            if ((FOptions & fpActiveControl) && FForm) {
                const std::string active = StoreReadText(*FStore, section(), "ActiveControl", "");
                if (!active.empty())
                    if (auto* w = FForm->findChild<QWidget*>(QString::fromStdString(active));
                        w && w->isEnabled() && w->focusPolicy() != Qt::NoFocus)
                        w->setFocus();
            }
        }
        FRestored = true;
    }
}

void TKitFormPlacement::ReadPlacement() {
    if (FOptions & (fpState | fpPosition))
        LoadFormPlacement(FForm, *FStore, section(), FOptions & fpState, FOptions & fpPosition);
    for (TKitIniLink* link : std::vector<TKitIniLink*>(FLinks)) link->NotifyLoad();
}

std::string TKitFormPlacement::ReadText(const std::string& sect, const std::string& ident, const std::string& def) {
    StorePass pass(FStore, FStore ? nullptr : openStore(false), false);
    return StoreReadText(*FStore, sect, ident, def);
}

void TKitFormPlacement::WriteText(const std::string& sect, const std::string& ident, const std::string& value) {
    StorePass pass(FStore, FStore ? nullptr : openStore(true), true);
    StoreWriteText(*FStore, sect, ident, value);
    pass.commit();
}

int TKitFormPlacement::ReadNumber(const std::string& ident, int def) {
    StorePass pass(FStore, FStore ? nullptr : openStore(false), false);
    return StoreReadNumber(*FStore, section(), ident, def);
}

void TKitFormPlacement::WriteNumber(const std::string& ident, int value) {
    StorePass pass(FStore, FStore ? nullptr : openStore(true), true);
    StoreWriteNumber(*FStore, section(), ident, value);
    pass.commit();
}

void TKitFormPlacement::SetPreventResize(bool value) {
    if (value == FPreventResize || !FForm || !FForm->isWindow()) return;
    FPreventResize = value;
    applyLimits();
}

void TKitFormPlacement::SetMinMaxInfo(const TKitWinMinMaxInfo& value) {
    cb::rtl::SetProperty(FMinMaxInfo, value, [this] { applyLimits(); });
}

void TKitFormPlacement::applyLimits() {
    if (!FForm) return;
    if (!FLimitsSaved) {
        FOldMin = FForm->minimumSize();
        FOldMax = FForm->maximumSize();
        FLimitsSaved = true;
    }
    QSize minSize = FOldMin, maxSize = FOldMax;
    if (FPreventResize) {
        minSize = maxSize = FForm->size();
    } else {
        if (FMinMaxInfo.MinTrackWidth) minSize.setWidth(FMinMaxInfo.MinTrackWidth);
        if (FMinMaxInfo.MinTrackHeight) minSize.setHeight(FMinMaxInfo.MinTrackHeight);
        if (FMinMaxInfo.MaxTrackWidth) maxSize.setWidth(FMinMaxInfo.MaxTrackWidth);
        if (FMinMaxInfo.MaxTrackHeight) maxSize.setHeight(FMinMaxInfo.MaxTrackHeight);
    }
    FForm->setMinimumSize(minSize);
    FForm->setMaximumSize(maxSize);
    if (FForm->isWindow() && FPreventResize != FFlagsChanged) {
        // No maximize button while the size is fixed.
        const bool visible = FForm->isVisible();
        Qt::WindowFlags want;
        if (FPreventResize) {
            FOldFlags = FForm->windowFlags();
            want = (FOldFlags | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint) &
                   ~Qt::WindowMaximizeButtonHint;
        } else {
            want = FOldFlags;
        }
        FFlagsChanged = FPreventResize;
        FForm->setWindowFlags(want);
        if (visible) {
            const bool active = FActive;
            FActive = false;  // no restore while the window comes back
            FForm->show();
            FActive = active;
        }
    }
}

}  // namespace cb::extras

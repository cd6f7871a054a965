#include "extras/KitPlacement.h"

#include "extras/KitWindowHook.h"
#include "platform/os/Files.h"
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

std::string name(const QObject* o) { return o ? o->objectName().toStdString() : std::string(); }

enum { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3 };

} // namespace

// ---- store access ----------------------------------------------------------

std::string StoreReadText(const TKitIniStore& store, const std::string& section, const std::string& ident,
                          const std::string& def) {
    if (auto* reg = store.Registry())
        return reg->ReadString(section, ident, def);
    if (auto* ini = store.IniFile()) {
        if (!ini->ValueExists(section, ident))
            return def;
        std::string v = ini->ReadString(section, ident, def);
        if (quoted(v))
            v = v.substr(1, v.size() - 2);
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
    if (auto* reg = store.Registry())
        return reg->ReadInteger(section, ident, def);
    if (auto* ini = store.IniFile())
        return ini->ReadInteger(section, ident, def);
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
    if (v.empty())
        v = StoreReadText(store, section, ident, "");
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
        while (i < text.size() && delimiters.find(text[i]) != std::string::npos)
            ++i;
        if (i >= text.size())
            break;
        if (++count == n)
            return int(i) + 1;
        while (i < text.size() && delimiters.find(text[i]) == std::string::npos)
            ++i;
    }
    return 0;
}

std::string NthWord(int n, const std::string& text, const std::string& delimiters) {
    const int pos = NthWordPosition(n, text, delimiters);
    if (pos == 0)
        return {};
    std::size_t end = std::size_t(pos - 1);
    while (end < text.size() && delimiters.find(text[end]) == std::string::npos)
        ++end;
    return text.substr(std::size_t(pos - 1), end - std::size_t(pos - 1));
}

std::string DefaultSectionOf(const QObject* component) {
    if (!component)
        return {};
    if (const auto* w = qobject_cast<const QWidget*>(component)) {
        if (w->isWindow())
            return className(w);
        if (const QWidget* form = w->window(); form && form != w)
            return className(form) + name(w);
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
    if (!form)
        return;
    const Qt::WindowStates state = form->windowState();
    int show = SW_SHOWNORMAL;
    if (state & Qt::WindowMinimized)
        show = SW_SHOWMINIMIZED;
    else if (state & Qt::WindowMaximized)
        show = SW_SHOWMAXIMIZED;
    QRect normal(form->pos(), form->size());
    if (state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const QRect g = form->normalGeometry();
        if (g.isValid())
            normal = QRect(g.topLeft() - (form->geometry().topLeft() - form->pos()), g.size());
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
    if (!form || (!loadState && !loadPosition))
        return;
    if (loadPosition) {
        const std::string delims = " ,";
        const std::string minMax = ReadTaggedText(store, section, "MinMaxPos");
        const std::string norm = ReadTaggedText(store, section, "NormPos");
        if ((!minMax.empty() || !norm.empty()) &&
            StoreReadNumber(store, section, "PixelsPerInch", screenDpi()) == screenDpi()) {
            const int defaults[4] = {form->x(), form->y(), form->x() + form->width(), form->y() + form->height()};
            int r[4];
            for (int i = 0; i < 4; ++i)
                r[i] = cb::rtl::StrToIntDef(NthWord(i + 1, norm, delims), defaults[i]);
            // Stored numbers are untrusted: sizes are worked out wide and
            // kept within what a window can be.
            long long width = (long long)r[2] - r[0], height = (long long)r[3] - r[1];
            if (form->minimumSize() == form->maximumSize()) { // not sizeable: keep the size
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
        case 1: case 5: case 9: break;
        case 2: case 6: case 7: state |= Qt::WindowMinimized; break;
        case 3: state |= Qt::WindowMaximized; break;
        default: state = form->windowState(); break;
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
    if (store == fStore)
        return;
    if (fStore)
        std::erase(fStore->fLinks, this);
    fStore = store;
    if (fStore)
        fStore->fLinks.push_back(this);
}

std::string TKitIniLink::RootSection() const {
    if (!fStore || fStore->IniSection().empty())
        return {};
    return fStore->IniSection() + "\\";
}

// ---- placement component ---------------------------------------------------

TKitFormPlacement::TKitFormPlacement(QWidget* form) : QObject(form), fForm(form) {
    if (!form)
        throw cb::rtl::Exception("A form placement needs a form");
    if (!form->isWindow())
        fOptions = 0;
    fHook = std::make_unique<TKitWindowHook>();
    fHook->SetControl(form);
    fHook->SetBeforeMessage([this](TKitWindowHook&, QEvent* e, bool& handled) { handled = formEvent(e, false); });
    fHook->SetAfterMessage([this](TKitWindowHook&, QEvent* e, bool& handled) { handled = formEvent(e, true); });
}

TKitFormPlacement::~TKitFormPlacement() {
    fHook.reset();
    if (fForm && fActive && !fSaved) {
        fDestroying = true;
        try {
            Save();
        } catch (...) {
            // a failed save must not stop the form from going
        }
        fDestroying = false;
    }
    fStore.reset();
    for (TKitIniLink* link : std::vector<TKitIniLink*>(fLinks))
        link->SetStore(nullptr);
}

bool TKitFormPlacement::formEvent(QEvent* e, bool after) {
    if (!after && e->type() == QEvent::Show && fActive && !e->spontaneous()) {
        try {
            Restore();
        } catch (const std::exception&) {
            // a damaged store leaves the form where it is
        }
    } else if (after && e->type() == QEvent::Close && e->isAccepted() && fActive) {
        try {
            Save();
        } catch (const std::exception&) {
        }
    }
    return false;
}

std::string TKitFormPlacement::section() const {
    return fIniSection.empty() ? DefaultSectionOf(fForm) : fIniSection;
}

std::unique_ptr<TKitIniStore> TKitFormPlacement::openStore(bool) const {
    if (fUseRegistry)
        return std::make_unique<TKitIniStore>(std::make_unique<cb::os::TRegistryIniFile>(
            fIniFileName.empty() ? DefaultRegistryKey() : fIniFileName, fRegistryRoot));
    std::string file = fIniFileName.empty() ? DefaultIniFileName() : fIniFileName;
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
        if (owner)
            slot = std::move(opened);
    }
    void commit() {
        if (owner && writing && slot && slot->IniFile())
            slot->IniFile()->UpdateFile();
    }
    ~StorePass() {
        if (owner)
            slot.reset();
    }
};
} // namespace

void TKitFormPlacement::Save() {
    if (fActive && !fRestored)
        return;
    StorePass pass(fStore, fStore ? nullptr : openStore(true), true);
    StoreWriteNumber(*fStore, section(), "FormVersion", fVersion);
    WritePlacement();
    if (OnSavePlacement)
        OnSavePlacement(*this);
    fSaved = true;
    pass.commit();
}

void TKitFormPlacement::WritePlacement() {
    if (!fForm)
        return;
    if (fOptions & (fpState | fpPosition)) {
        StoreFormPlacement(fForm, *fStore, section());
        StoreWriteNumber(*fStore, section(), "Visible", fDestroying ? 1 : 0);
    }
    if (fOptions & fpActiveControl) {
        if (QWidget* focus = fForm->focusWidget(); focus && !focus->objectName().isEmpty())
            StoreWriteText(*fStore, section(), "ActiveControl", name(focus));
    }
    for (TKitIniLink* link : std::vector<TKitIniLink*>(fLinks))
        link->NotifySave();
}

void TKitFormPlacement::Restore() {
    fSaved = false;
    {
        StorePass pass(fStore, fStore ? nullptr : openStore(false), false);
        if (StoreReadNumber(*fStore, section(), "FormVersion", 0) >= fVersion) {
            ReadPlacement();
            fRestored = true;
            if (OnRestorePlacement)
                OnRestorePlacement(*this);
            if ((fOptions & fpActiveControl) && fForm) {
                const std::string active = StoreReadText(*fStore, section(), "ActiveControl", "");
                if (!active.empty())
                    if (auto* w = fForm->findChild<QWidget*>(QString::fromStdString(active));
                        w && w->isEnabled() && w->focusPolicy() != Qt::NoFocus)
                        w->setFocus();
            }
        }
        fRestored = true;
    }
}

void TKitFormPlacement::ReadPlacement() {
    if (fOptions & (fpState | fpPosition))
        LoadFormPlacement(fForm, *fStore, section(), fOptions & fpState, fOptions & fpPosition);
    for (TKitIniLink* link : std::vector<TKitIniLink*>(fLinks))
        link->NotifyLoad();
}

std::string TKitFormPlacement::ReadText(const std::string& sect, const std::string& ident, const std::string& def) {
    StorePass pass(fStore, fStore ? nullptr : openStore(false), false);
    return StoreReadText(*fStore, sect, ident, def);
}

void TKitFormPlacement::WriteText(const std::string& sect, const std::string& ident, const std::string& value) {
    StorePass pass(fStore, fStore ? nullptr : openStore(true), true);
    StoreWriteText(*fStore, sect, ident, value);
    pass.commit();
}

int TKitFormPlacement::ReadNumber(const std::string& ident, int def) {
    StorePass pass(fStore, fStore ? nullptr : openStore(false), false);
    return StoreReadNumber(*fStore, section(), ident, def);
}

void TKitFormPlacement::WriteNumber(const std::string& ident, int value) {
    StorePass pass(fStore, fStore ? nullptr : openStore(true), true);
    StoreWriteNumber(*fStore, section(), ident, value);
    pass.commit();
}

void TKitFormPlacement::SetPreventResize(bool value) {
    if (value == fPreventResize || !fForm || !fForm->isWindow())
        return;
    fPreventResize = value;
    applyLimits();
}

void TKitFormPlacement::SetMinMaxInfo(const TKitWinMinMaxInfo& value) {
    if (value == fMinMaxInfo)
        return;
    fMinMaxInfo = value;
    applyLimits();
}

void TKitFormPlacement::applyLimits() {
    if (!fForm)
        return;
    if (!fLimitsSaved) {
        fOldMin = fForm->minimumSize();
        fOldMax = fForm->maximumSize();
        fLimitsSaved = true;
    }
    QSize minSize = fOldMin, maxSize = fOldMax;
    if (fPreventResize) {
        minSize = maxSize = fForm->size();
    } else {
        if (fMinMaxInfo.MinTrackWidth)
            minSize.setWidth(fMinMaxInfo.MinTrackWidth);
        if (fMinMaxInfo.MinTrackHeight)
            minSize.setHeight(fMinMaxInfo.MinTrackHeight);
        if (fMinMaxInfo.MaxTrackWidth)
            maxSize.setWidth(fMinMaxInfo.MaxTrackWidth);
        if (fMinMaxInfo.MaxTrackHeight)
            maxSize.setHeight(fMinMaxInfo.MaxTrackHeight);
    }
    fForm->setMinimumSize(minSize);
    fForm->setMaximumSize(maxSize);
    if (fForm->isWindow() && fPreventResize != fFlagsChanged) {
        // No maximize button while the size is fixed.
        const bool visible = fForm->isVisible();
        Qt::WindowFlags want;
        if (fPreventResize) {
            fOldFlags = fForm->windowFlags();
            want = (fOldFlags | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint;
        } else {
            want = fOldFlags;
        }
        fFlagsChanged = fPreventResize;
        fForm->setWindowFlags(want);
        if (visible) {
            const bool active = fActive;
            fActive = false; // no restore while the window comes back
            fForm->show();
            fActive = active;
        }
    }
}

} // namespace cb::extras

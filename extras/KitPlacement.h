#pragma once
// Form placement storage: TKitFormPlacement saves a window's position, size
// and state (and its active control) to an INI file or the settings store
// when the window closes and restores them when it is shown; linked
// components (TKitIniLink) save and restore their own values in the same
// pass. Free routines read and write the placement record in a store and
// build default file and section names.
#include "platform/os/RegistryIniFile.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"

#include <QObject>
#include <QPointer>
#include <QSize>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace cb::extras {

class TKitFormPlacement;
class TKitWindowHook;

// An open store: an INI file or a key of the settings store.
class TKitIniStore {
public:
    explicit TKitIniStore(std::unique_ptr<cb::rtl::TCustomIniFile> ini) : FIni(std::move(ini)) {}
    explicit TKitIniStore(std::unique_ptr<cb::os::TRegistryIniFile> reg) : FReg(std::move(reg)) {}
    cb::rtl::TCustomIniFile* IniFile() const { return FIni.get(); }
    cb::os::TRegistryIniFile* Registry() const { return FReg.get(); }

private:
    std::unique_ptr<cb::rtl::TCustomIniFile> FIni;
    std::unique_ptr<cb::os::TRegistryIniFile> FReg;
};

// Store access. Text written to an INI file that begins and ends with the
// same quote character is wrapped in one more pair of double quotes, and
// reading takes one pair off, so values read back unchanged.
std::string StoreReadText(const TKitIniStore& store, const std::string& section, const std::string& ident,
                          const std::string& def);
void StoreWriteText(TKitIniStore& store, const std::string& section, const std::string& ident,
                    const std::string& value);
int StoreReadNumber(const TKitIniStore& store, const std::string& section, const std::string& ident, int def);
void StoreWriteNumber(TKitIniStore& store, const std::string& section, const std::string& ident, int value);
void StoreEraseSection(TKitIniStore& store, const std::string& section);

// "(WxH)" of the primary screen.
std::string ScreenSizeTag();
// The value of ident + tag, or of ident when that is empty.
std::string ReadTaggedText(const TKitIniStore& store, const std::string& section, const std::string& ident);
// Writes under ident + tag and under ident.
void WriteTaggedText(TKitIniStore& store, const std::string& section, const std::string& ident,
                     const std::string& value);

// 1-based position of the n-th word (runs of characters outside the
// delimiters), 0 when there are fewer; the word itself, empty when none.
int NthWordPosition(int n, const std::string& text, const std::string& delimiters);
std::string NthWord(int n, const std::string& text, const std::string& delimiters);

// Section names: a window's class name; a control's window class name and
// the control's objectName() (or, without a window, its parent's name and
// its own); another object owned by a window "Class.name"; else its name.
std::string DefaultSectionOf(const QObject* component);
// The executable's name without folder, extension ".INI".
std::string DefaultIniFileName();
// "Software\" and the executable's name without folder and extension.
std::string DefaultRegistryKey();

// The placement record of a window: "Flags", "ShowCmd", "PixelsPerInch",
// "MinMaxPos" and "NormPos" (the last two under the screen-size tag and
// plain).
void StoreFormPlacement(QWidget* form, TKitIniStore& store, const std::string& section);
void LoadFormPlacement(QWidget* form, const TKitIniStore& store, const std::string& section, bool loadState,
                       bool loadPosition);

// A component's link to a placement store: its save and load handlers run
// inside the store's Save and Restore, while Store()->OpenStore() is set.
class TKitIniLink {
public:
    TKitIniLink() = default;
    ~TKitIniLink();
    TKitIniLink(const TKitIniLink&) = delete;
    TKitIniLink& operator=(const TKitIniLink&) = delete;

    TKitFormPlacement* Store() const { return FStore; }
    // Moves the link from the old store's list to the new one's.
    void SetStore(TKitFormPlacement* store);
    // The store's own section as set, followed by "\" when not empty.
    std::string RootSection() const;

    std::function<void()> OnSave;
    std::function<void()> OnLoad;

    virtual void NotifySave() {
        if (OnSave) OnSave();
    }
    virtual void NotifyLoad() {
        if (OnLoad) OnLoad();
    }

private:
    friend class TKitFormPlacement;
    TKitFormPlacement* FStore = nullptr;
};

enum TPlacementOption {
    fpState = 1,
    fpPosition = 2,
    fpActiveControl = 4
};
using TPlacementOptions = unsigned;

// Tracking limits; 0 means not set.
struct TKitWinMinMaxInfo {
    int MaxPosLeft = 0, MaxPosTop = 0, MaxSizeHeight = 0, MaxSizeWidth = 0;
    int MaxTrackHeight = 0, MaxTrackWidth = 0, MinTrackHeight = 0, MinTrackWidth = 0;
    bool IsSet() const {
        return MaxPosLeft || MaxPosTop || MaxSizeHeight || MaxSizeWidth || MaxTrackHeight || MaxTrackWidth ||
               MinTrackHeight || MinTrackWidth;
    }
    friend bool operator==(const TKitWinMinMaxInfo&, const TKitWinMinMaxInfo&) = default;
};

class TKitFormPlacement : public QObject {
    Q_OBJECT
public:
    // Watches the form (a top-level widget) from now on: restores on show,
    // saves when the form closes or goes.
    explicit TKitFormPlacement(QWidget* form);
    ~TKitFormPlacement() override;

    QWidget* Form() const { return FForm; }
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    const std::string& IniFileName() const { return FIniFileName; }
    void SetIniFileName(const std::string& value) { FIniFileName = value; }
    const std::string& IniSection() const { return FIniSection; }
    void SetIniSection(const std::string& value) { FIniSection = value; }
    bool UseRegistry() const { return FUseRegistry; }
    void SetUseRegistry(bool value) { FUseRegistry = value; }
    cb::os::TRegistryRoot RegistryRoot() const { return FRegistryRoot; }
    void SetRegistryRoot(cb::os::TRegistryRoot value) { FRegistryRoot = value; }
    TPlacementOptions Options() const { return FOptions; }
    void SetOptions(TPlacementOptions value) { FOptions = value; }
    int Version() const { return FVersion; }
    void SetVersion(int value) { FVersion = value; }
    bool PreventResize() const { return FPreventResize; }
    void SetPreventResize(bool value);
    const TKitWinMinMaxInfo& MinMaxInfo() const { return FMinMaxInfo; }
    void SetMinMaxInfo(const TKitWinMinMaxInfo& value);

    void Save();
    void Restore();
    // Single values in IniSection (or the given section), each opening the
    // store for the one call when none is open.
    std::string ReadText(const std::string& section, const std::string& ident, const std::string& def);
    void WriteText(const std::string& section, const std::string& ident, const std::string& value);
    int ReadNumber(const std::string& ident, int def);
    void WriteNumber(const std::string& ident, int value);

    // The open store during Save and Restore, else nullptr.
    TKitIniStore* OpenStore() const { return FStore.get(); }
    bool Saved() const { return FSaved; }
    bool Restored() const { return FRestored; }

    std::function<void(TKitFormPlacement&)> OnSavePlacement;
    std::function<void(TKitFormPlacement&)> OnRestorePlacement;

protected:
    virtual void WritePlacement();
    virtual void ReadPlacement();

private:
    friend class TKitIniLink;
    std::unique_ptr<TKitIniStore> openStore(bool forWriting) const;
    std::string section() const;
    void applyLimits();
    bool formEvent(QEvent* e, bool after);

    QPointer<QWidget> FForm;
    bool FActive = true;
    std::string FIniFileName;
    std::string FIniSection;
    bool FUseRegistry = false;
    cb::os::TRegistryRoot FRegistryRoot = cb::os::TRegistryRoot::CurrentUser;
    std::unique_ptr<TKitIniStore> FStore;
    std::vector<TKitIniLink*> FLinks;
    TPlacementOptions FOptions = fpState | fpPosition;
    int FVersion = 0;
    bool FSaved = false;
    bool FRestored = false;
    bool FDestroying = false;
    bool FPreventResize = false;
    TKitWinMinMaxInfo FMinMaxInfo;
    QSize FOldMin, FOldMax;
    bool FLimitsSaved = false;
    bool FFlagsChanged = false;
    Qt::WindowFlags FOldFlags;
    std::unique_ptr<TKitWindowHook> FHook;
};

}  // namespace cb::extras

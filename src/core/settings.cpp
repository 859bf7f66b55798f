#include "core/settings.h"

#include "core/ini.h"

namespace qv {

namespace {

// The one list of keys, in the order in which writing all settings stores them.
// Reading and writing both walk it, so the order and the set of keys live here only.
// A default is the value the member has in a default-constructed Settings; a number
// outside its range reads as that default.
template <class S, class Visitor> void visitKeys(S& s, Visitor& v) {
    v.flag("ToolBar", s.toolBar);
    v.flag("Address", s.address);
    v.flag("Button", s.button);
    v.flag("StatusBar", s.statusBar);
    v.flag("Top", s.top);
    v.flag("Save", s.save);
    v.flag("Reload", s.reload);
    v.flag("Reset", s.reset);
    v.flag("FullPath", s.fullPath);
    v.flag("TimeCheck", s.timeCheck);
    v.flag("SaveEnabled", s.saveEnabled);
    v.flag("IpsMaking", s.ipsMaking);
    v.flag("IpsIdentity", s.ipsIdentity);
    v.flag("Backup", s.backup);
    v.flag("AlTopOff", s.alTopOff);
    v.flag("UndoCheck", s.undoCheck);
    v.flag("MenuImage", s.menuImage);
    v.flag("WriteCheck", s.writeCheck);
    v.flag("FormPos", s.formPos);
    v.windowPosition("FormTop", s.formTop);
    v.windowPosition("FormLeft", s.formLeft);
    v.number("Pallet", s.paletteSource, 0, 3);
    v.number("MaxRecent", s.maxRecent, 0, 32);
    v.number("IpsOpen", s.ipsOpen, 1, 3);
    v.number("IpsPatch", s.ipsPatch, 1, 3);
    for (std::size_t i = 0; i < s.editors.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        v.text("Editor" + n, s.editors[i].path);
        v.text("EditorMenu" + n, s.editors[i].menu);
        v.flag("EditorEx" + n, s.editors[i].passFile);
    }
    v.text("NESFile1", s.nesFile[0]);
    v.text("NESFile2", s.nesFile[1]);
    v.laterText("Emulator", s.emulator);
    // The Play window's keys, each written once it differs from its default.
    const PlaySettings defaults;
    v.laterText("PlayCore", s.play.core);
    for (std::size_t i = 0; i < s.play.keys.size(); ++i)
        v.laterText(std::string("PlayKey") + kPlayButtonNames[i], s.play.keys[i], defaults.keys[i]);
    v.laterNumber("PlayScale", s.play.scale, 1, 4, defaults.scale);
    v.laterFlag("PlayAspect", s.play.aspect, defaults.aspect);
    v.laterNumber("PlayVolume", s.play.volume, 0, 100, defaults.volume);
    v.laterFlag("PlayMute", s.play.mute, defaults.mute);
}

// Members start at their defaults and are overwritten by what the file says.
struct Reader {
    const IniFile& ini;

    // A flag that defaults to on is on only for 2; one that defaults to off is off
    // only for 1. Anything else, including "0", reads as the opposite of the default.
    void flag(const std::string& key, bool& value) {
        const int stored = ini.readInt(key, value ? 2 : 1);
        value = value ? stored == 2 : stored != 1;
    }
    void number(const std::string& key, int& value, int lo, int hi) {
        const int stored = ini.readInt(key, value);
        if (stored >= lo && stored <= hi) value = stored;
    }
    void windowPosition(const std::string& key, int& value) { value = ini.readInt(key, value); }
    // Whole, however long: cut, a path would name another file.
    void text(const std::string& key, std::string& value) {
        value = ini.readWholeString(key, value);
    }
    void laterText(const std::string& key, std::string& value) { text(key, value); }
    void laterText(const std::string& key, std::string& value, const std::string&) {
        text(key, value);
    }
    void laterNumber(const std::string& key, int& value, int lo, int hi, int) {
        number(key, value, lo, hi);
    }
    void laterFlag(const std::string& key, bool& value, bool) { flag(key, value); }
};

struct Writer {
    IniFile& ini;

    void flag(const std::string& key, bool value) { ini.writeString(key, value ? "2" : "1"); }
    void number(const std::string& key, int value, int, int) {
        ini.writeString(key, std::to_string(value));
    }
    // Written on its own at exit, not with the rest.
    void windowPosition(const std::string&, int) {}
    // A value no line can hold (a line break) leaves the key as the file has it.
    void text(const std::string& key, const std::string& value) { ini.writeString(key, value); }
    // A key of our own, beside the editor's standard keys: written once it has a value or
    // is already in the file, so that a file that never used it keeps its familiar keys.
    void laterText(const std::string& key, const std::string& value) {
        if (!value.empty() || ini.hasKey(key)) text(key, value);
    }
    // The same for a key with a default of its own.
    void laterText(const std::string& key, const std::string& value, const std::string& def) {
        if (value != def || ini.hasKey(key)) text(key, value);
    }
    void laterNumber(const std::string& key, int value, int lo, int hi, int def) {
        if (value != def || ini.hasKey(key)) number(key, value, lo, hi);
    }
    void laterFlag(const std::string& key, bool value, bool def) {
        if (value != def || ini.hasKey(key)) flag(key, value);
    }
};

} // namespace

Settings readSettings(const IniFile& ini) {
    Settings s;
    Reader reader{ini};
    visitKeys(s, reader);
    if (s.alTopOff) s.top = false;
    return s;
}

void writeSettings(IniFile& ini, const Settings& s) {
    Writer writer{ini};
    visitKeys(s, writer);
}

void writeWindowPosition(IniFile& ini, int top, int left) {
    ini.writeString("FormTop", std::to_string(top));
    ini.writeString("FormLeft", std::to_string(left));
}

} // namespace qv

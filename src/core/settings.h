#pragma once
// Every setting kept in qorv.ini, with its default and read rule. Flags are stored
// as "2" (on) and "1" (off).
#include <array>
#include <string>

namespace qv {

class IniFile;

struct EditorEntry {
    std::string path;
    std::string menu;     // Tools-menu caption
    bool passFile = true; // pass the open file on the command line

    bool operator==(const EditorEntry&) const = default;
};

// The Play window's settings. Keys are named as Qt names them ("Right", "Z", "Return"),
// or "Right Shift" / "Left Shift" for one Shift key; empty: no key.
struct PlaySettings {
    std::string core; // a core file or a folder of cores; empty: the usual places
    // Up, Down, Left, Right, B, A, Start, Select.
    std::array<std::string, 8> keys{"Up", "Down", "Left",   "Right",
                                    "Z",  "X",    "Return", "Right Shift"};
    int scale = 2;       // 1 to 4
    bool aspect = false; // 8:7 pixels
    int volume = 80;     // 0 to 100
    bool mute = false;

    bool operator==(const PlaySettings&) const = default;
};
inline constexpr const char* kPlayButtonNames[8] = {"Up", "Down", "Left",  "Right",
                                                    "B",  "A",    "Start", "Select"};

struct Settings {
    bool toolBar = true;
    bool address = true;
    bool button = true;
    bool statusBar = true;
    bool top = false;
    bool save = true;    // confirm Save
    bool reload = false; // confirm Reload even without edits
    bool reset = true;   // confirm Reset
    bool fullPath = false;
    int paletteSource = 0; // the colours NES palette indexes are drawn in, 0 to 3
    bool timeCheck = true;
    bool saveEnabled = false;
    bool writeCheck = true;
    int ipsOpen = 1;  // 1 to 3
    int ipsPatch = 1; // 1 to 3
    bool ipsMaking = true;
    bool ipsIdentity = true;
    bool backup = false;
    bool alTopOff = false;
    bool undoCheck = false;
    int maxRecent = 8; // 0 to 32
    bool formPos = false;
    int formTop = 100;
    int formLeft = 100;
    bool menuImage = true;
    std::array<EditorEntry, 4> editors{{{"", "Start Editor 1 (&1)...", true},
                                        {"", "Start Editor 2 (&2)...", true},
                                        {"", "Start Editor 3 (&3)...", true},
                                        {"", "Start Editor 4 (&4)...", true}}};
    std::array<std::string, 2> nesFile; // base files of 40,976 and 41,488 bytes
    // Test Play's command line, "%f" standing for the image; empty: a known emulator
    // found on PATH.
    std::string emulator;
    PlaySettings play;

    bool operator==(const Settings&) const = default;
};

// Every key with its default; values out of range or not numbers read as the
// default, and Top reads as off while AlTopOff is on.
Settings readSettings(const IniFile& ini);
// Writes the whole set (all keys but the window position) in its fixed order.
void writeSettings(IniFile& ini, const Settings& s);
// FormTop and FormLeft, written at exit.
void writeWindowPosition(IniFile& ini, int top, int left);

} // namespace qv

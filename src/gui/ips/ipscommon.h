#pragma once
// What the IPS commands need of the main window, and the file checks that the
// apply and the create dialogs share.
#include <QString>
#include <functional>
#include <string>

#include "gui/main/paths.h"

class QWidget;

namespace qv {

class RomDocument;
struct Settings;

// What the IPS commands need of the main window, as DialogHost is for the settings
// dialogs.
class IpsHost {
  public:
    virtual ~IpsHost() = default;
    virtual QWidget* hostWindow() = 0; // owner of the dialogs and messages
    virtual RomDocument& document() = 0;
    virtual Settings& settings() = 0;
    virtual void writeAllSettings() = 0;
    // The Editor Options command with everything that follows it.
    virtual void runOptions() = 0;
    // The Yes of a save prompt: write the document, or Save As when its file is not
    // on disk; false when that failed or was cancelled.
    virtual bool saveDocument() = 0;
    // A patched image has become the document (the window has followed its
    // announcement); what a patch changes beyond a load.
    virtual void documentReplaced() = 0;
    // Before each modal window the commands open: keeps it above an always-on-top
    // main window.
    virtual void beforeModal() = 0;
};

// Base file n (1: 40,976 bytes, 2: 41,488 bytes) is set, exists, has the extension
// ".nes" and exactly its size.
bool baseFileAvailable(const Settings& s, int n);
int baseFileSize(int n);
// "40,976" or "41,488".
QString sizeText(int size);
// The last three characters replaced by `tail`: patch.ips and "nes" give patch.nes.
QString withTail(const QString& path, const QString& tail);
// Whether the extension is `upperExt` (".NES"), in any case.
bool hasExtension(const QString& path, const char* upperExt);
// A file of exactly `size` bytes with the extension ".nes".
bool isNesFileOfSize(const QString& path, int size);

// The checks on an output name at OK, in the order the dialogs make them.
enum class OutputName { Ok, BadFolder, BadName, BadExtension };
OutputName checkOutputName(const QString& path, const char* upperExt);

} // namespace qv
